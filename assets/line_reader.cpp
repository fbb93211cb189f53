// LineReader: line splitting and formatted counts over a manifest's text.
#include "assets/line_reader.h"

#include <cctype>
#include <climits>

namespace vorel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

LineReader::LineResult LineReader::readLine(std::string& line) {
    if (atEnd()) return LineResult::End;
    std::size_t end = text_.find('\n', position_);
    const bool hasLineFeed = end != std::string::npos;
    if (!hasLineFeed) end = text_.size();
    std::size_t length = end - position_;
    if (hasLineFeed && length > 0 && text_[end - 1] == '\r') --length;
    if (length > MaxLineLength) return LineResult::TooLong;
    line.assign(text_, position_, length);
    position_ = hasLineFeed ? end + 1 : end;
    if (hasLineFeed) ++lineNumber_;
    return LineResult::Line;
}

LineReader::CountResult LineReader::readCount(int& count) {
    while (!atEnd() && std::isspace(static_cast<unsigned char>(text_[position_])) != 0) {
        if (text_[position_] == '\n') ++lineNumber_;
        ++position_;
    }
    if (atEnd()) return CountResult::End;
    std::size_t cursor = position_;
    const bool negative = text_[cursor] == '-';
    if (negative || text_[cursor] == '+') ++cursor;
    if (cursor >= text_.size() || !isDigit(text_[cursor])) return CountResult::NotANumber;
    long long value = 0;
    bool overflow = false;
    for (; cursor < text_.size() && isDigit(text_[cursor]); ++cursor) {
        value = value * 10 + (text_[cursor] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            overflow = true;
            value = 0;
        }
    }
    position_ = cursor;
    if (negative) value = -value;
    if (overflow || value > INT_MAX || value < INT_MIN) return CountResult::OutOfRange;
    count = static_cast<int>(value);
    return CountResult::Count;
}

}  // namespace vorel
