// BvhTokenizer: splitting a BVH text into words and counting its lines.
#include "bvh/bvh_tokenizer.h"

namespace vorel {

namespace {

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || isLineEnd(c);
}

}  // namespace

void BvhTokenizer::skipSpace(bool crossLines) {
    while (!atEnd() && isSpace(text_[position_])) {
        const char c = text_[position_];
        if (isLineEnd(c)) {
            if (!crossLines) return;
            // CR LF is one line end: the LF counts it.
            const bool crBeforeLf =
                c == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n';
            if (!crBeforeLf) ++currentLine_;
        }
        ++position_;
    }
}

std::string_view BvhTokenizer::takeWord() {
    const std::size_t start = position_;
    while (!atEnd() && !isSpace(text_[position_])) ++position_;
    wordLine_ = currentLine_;
    return std::string_view(text_).substr(start, position_ - start);
}

bool BvhTokenizer::next(std::string_view& word) {
    skipSpace(true);
    if (atEnd()) return false;
    word = takeWord();
    return true;
}

bool BvhTokenizer::nextOnLine(std::string_view& word) {
    skipSpace(false);
    if (atEnd() || isLineEnd(text_[position_])) return false;
    word = takeWord();
    return true;
}

}  // namespace vorel
