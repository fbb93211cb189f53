// LineReader: the lines of a text file held in memory, as a manifest reads them: numbered from
// 1, ended by a line feed, a carriage return right before the line feed not part of the line,
// and formatted integers that skip leading white space, blank lines included.
#pragma once

#include <cstddef>
#include <string>

namespace vorel {

class LineReader {
  public:
    // Longer lines are refused rather than split or cut.
    static constexpr std::size_t MaxLineLength = 511;

    enum class LineResult { Line, End, TooLong };
    enum class CountResult { Count, End, NotANumber, OutOfRange };

    // text must outlive the reader.
    explicit LineReader(const std::string& text) : text_(text) {}

    // The next whole line without its line end; the final line needs no line feed.
    LineResult readLine(std::string& line);
    // White space, an optional sign and decimal digits; the rest of the line stays unread.
    CountResult readCount(int& count);
    // The number of the line that the next read starts on.
    int lineNumber() const { return lineNumber_; }

  private:
    bool atEnd() const { return position_ >= text_.size(); }

    const std::string& text_;
    std::size_t position_ = 0;
    int lineNumber_ = 1;
};

}  // namespace vorel
