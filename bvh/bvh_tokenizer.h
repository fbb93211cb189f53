// BvhTokenizer: the words of a BVH text (runs of bytes between white space) and the line each
// starts on. Line ends are LF, CR LF or a lone CR. Motion frames are one line each, so a word
// can be asked for on the current line only. Not a parser: it knows no keywords.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorel {

class BvhTokenizer {
  public:
    // text must outlive the tokenizer.
    explicit BvhTokenizer(const std::string& text) : text_(text) {}

    // The next word on any line; false at the end of the text.
    bool next(std::string_view& word);
    // The next word only when it is on the line the last word was on; false at that line's end.
    bool nextOnLine(std::string_view& word);
    // The line of the last word read (so an error at the end of the text names the last one).
    int line() const { return wordLine_; }
    // Bytes not yet read.
    std::size_t remainingBytes() const { return text_.size() - position_; }

  private:
    bool atEnd() const { return position_ >= text_.size(); }
    // Skips spaces and tabs; with crossLines also line ends, counting them.
    void skipSpace(bool crossLines);
    std::string_view takeWord();

    const std::string& text_;
    std::size_t position_ = 0;
    int currentLine_ = 1;
    int wordLine_ = 1;
};

}  // namespace vorel
