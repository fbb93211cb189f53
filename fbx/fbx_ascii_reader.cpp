// A small recursive-descent reader over the ASCII tokens, its depth bounded.
#include "fbx/fbx_ascii_reader.h"

#include <charconv>
#include <string_view>

#include "bvh/double_from_chars.h"
#include "fbx/read_fbx.h"

namespace vorel {

namespace {

enum class TokenKind { Name, Word, Number, Text, Count, Comma, Open, Close, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    int line = 1;
};

bool isWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '+' || c == '.' || c == '|';
}

class AsciiTokens {
  public:
    explicit AsciiTokens(const std::string& text) : text_(text) {}

    // False, with `problem` set, for a string that never closes.
    bool next(Token& token, std::string& problem) {
        skipSpaceAndComments();
        token.line = line_;
        if (position_ >= text_.size()) {
            token.kind = TokenKind::End;
            return true;
        }
        const char c = text_[position_];
        const std::size_t start = position_;
        if (c == ',' || c == '{' || c == '}') {
            ++position_;
            token.kind = c == ','   ? TokenKind::Comma
                         : c == '{' ? TokenKind::Open
                                    : TokenKind::Close;
            return true;
        }
        if (c == '"') {
            const std::size_t close = text_.find('"', start + 1);
            if (close == std::string::npos) {
                problem = "a string opened here never closes";
                return false;
            }
            countLines(start, close);
            position_ = close + 1;
            token.kind = TokenKind::Text;
            token.text = std::string_view(text_).substr(start + 1, close - start - 1);
            return true;
        }
        if (c == '*') ++position_;
        while (position_ < text_.size() && isWordByte(text_[position_])) ++position_;
        if (position_ == start) {
            problem = "unexpected byte " + std::to_string(static_cast<unsigned char>(c));
            return false;
        }
        token.text = std::string_view(text_).substr(start, position_ - start);
        if (c == '*') {
            token.kind = TokenKind::Count;
            token.text.remove_prefix(1);
        } else if (position_ < text_.size() && text_[position_] == ':') {
            ++position_;
            token.kind = TokenKind::Name;
        } else {
            token.kind = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'
                             ? TokenKind::Number
                             : TokenKind::Word;
        }
        return true;
    }

  private:
    void skipSpaceAndComments() {
        while (position_ < text_.size()) {
            const char c = text_[position_];
            if (c == ';') {
                while (position_ < text_.size() && text_[position_] != '\n') ++position_;
            } else if (c == '\n') {
                ++line_;
                ++position_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++position_;
            } else {
                return;
            }
        }
    }

    void countLines(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) line_ += text_[i] == '\n' ? 1 : 0;
    }

    const std::string& text_;
    std::size_t position_ = 0;
    int line_ = 1;
};

bool isInteger(std::string_view text) {
    for (char c : text) {
        if (c == '.' || c == 'e' || c == 'E' || c == 'n' || c == 'N' || c == 'i' || c == 'I')
            return false;
    }
    return true;
}

// A number token as an integer or a real; false for a malformed one.
bool parseNumber(std::string_view text, FbxProperty& property) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* first = text.data();
    const char* last = first + text.size();
    if (isInteger(text)) {
        std::int64_t value = 0;
        const auto [end, status] = std::from_chars(first, last, value);
        if (status == std::errc() && end == last) {
            property.kind = FbxProperty::Kind::Integer;
            property.integer = value;
            return true;
        }
    }
    double value = 0.0;
    const auto [end, status] = doubleFromChars(first, last, value);
    if (status != std::errc() || end != last) return false;
    property.kind = FbxProperty::Kind::Real;
    property.real = value;
    return true;
}

class AsciiParser {
  public:
    AsciiParser(const std::string& text, const std::string& path, LoadError& error)
        : tokens_(text), error_(error) {
        error_.file = path;
    }

    bool parse(FbxDocument& document) {
        if (!advance()) return false;
        if (!readNodes(document.root, 0)) return false;
        if (token_.kind != TokenKind::End) return failHere("'}' without a record to close");
        document.binary = false;
        const double version = headerVersion(document.root);
        // Versions are four digits (6100, 7400); past five, or negative, it is no version.
        if (!(version >= 0.0 && version <= 99999.0)) {
            return failHere("FBXVersion is not a version number");
        }
        document.version = static_cast<int>(version);
        return true;
    }

  private:
    static double headerVersion(const FbxNode& root) {
        const FbxNode* header = root.child("FBXHeaderExtension");
        const FbxNode* version = header ? header->child("FBXVersion") : nullptr;
        if (!version || version->properties.empty()) return 0.0;
        return version->properties.front().number();
    }

    bool failHere(const std::string& message) {
        error_.section = "line " + std::to_string(token_.line);
        error_.offset = -1;
        error_.message = message;
        return false;
    }

    bool advance() {
        std::string problem;
        if (!tokens_.next(token_, problem)) return failHere(problem);
        return true;
    }

    // Records until a '}' or the end of the text.
    bool readNodes(FbxNode& parent, int depth) {
        while (token_.kind == TokenKind::Name) {
            FbxNode node;
            node.name.assign(token_.text);
            if (!advance() || !readValues(node) || !readBody(node, depth)) return false;
            parent.children.push_back(std::move(node));
        }
        if (token_.kind != TokenKind::Close && token_.kind != TokenKind::End)
            return failHere("expected a record name");
        return true;
    }

    bool readValue(FbxProperty& property) {
        switch (token_.kind) {
            case TokenKind::Number:
                if (!parseNumber(token_.text, property))
                    return failHere("'" + std::string(token_.text) + "' is not a number");
                break;
            case TokenKind::Text:
            case TokenKind::Word:
                property.kind = FbxProperty::Kind::Text;
                property.text.assign(token_.text);
                break;
            default:
                return failHere("expected a value");
        }
        return advance();
    }

    bool readValues(FbxNode& node) {
        // Embedded content is written "Content: ,\n "base64..."": an empty first value.
        while (token_.kind == TokenKind::Comma) {
            if (!advance()) return false;
        }
        if (token_.kind == TokenKind::Count) return readArray(node);
        if (token_.kind != TokenKind::Number && token_.kind != TokenKind::Text &&
            token_.kind != TokenKind::Word) {
            return true;
        }
        while (true) {
            node.properties.emplace_back();
            if (!readValue(node.properties.back())) return false;
            if (token_.kind != TokenKind::Comma) return true;
            if (!advance()) return false;
        }
    }

    // `*N { a: v, v, ... }`: one array property of exactly N elements.
    bool readArray(FbxNode& node) {
        std::uint64_t declared = 0;
        const std::string_view count = token_.text;
        const auto [end, status] =
            std::from_chars(count.data(), count.data() + count.size(), declared);
        if (status != std::errc() || end != count.data() + count.size())
            return failHere("array count '*" + std::string(count) + "' is not a count");
        if (!advance()) return false;
        if (token_.kind != TokenKind::Open) return failHere("expected '{' after an array count");
        if (!advance()) return false;
        FbxProperty array;
        std::vector<std::int64_t> integers;
        std::vector<double> reals;
        bool allIntegers = true;
        if (token_.kind == TokenKind::Name && token_.text == "a") {
            if (!advance()) return false;
            while (token_.kind == TokenKind::Number) {
                FbxProperty element;
                if (!parseNumber(token_.text, element))
                    return failHere("'" + std::string(token_.text) + "' is not a number");
                allIntegers = allIntegers && element.kind == FbxProperty::Kind::Integer;
                if (allIntegers) integers.push_back(element.integer);
                reals.push_back(element.number());
                if (!advance()) return false;
                if (token_.kind != TokenKind::Comma) break;
                if (!advance()) return false;
            }
        }
        if (token_.kind != TokenKind::Close) return failHere("expected '}' to end the array");
        if (reals.size() != declared) {
            return failHere("array declares " + std::to_string(declared) + " elements and holds " +
                            std::to_string(reals.size()));
        }
        if (allIntegers) {
            array.kind = FbxProperty::Kind::IntegerArray;
            array.integers = std::move(integers);
        } else {
            array.kind = FbxProperty::Kind::RealArray;
            array.reals = std::move(reals);
        }
        node.properties.push_back(std::move(array));
        return advance();
    }

    bool readBody(FbxNode& node, int depth) {
        if (token_.kind != TokenKind::Open) return true;
        if (depth + 1 >= MaxFbxNesting) {
            return failHere("records nest deeper than " + std::to_string(MaxFbxNesting) +
                            " levels");
        }
        if (!advance() || !readNodes(node, depth + 1)) return false;
        if (token_.kind != TokenKind::Close) return failHere("a record's '{' never closes");
        return advance();
    }

    AsciiTokens tokens_;
    LoadError& error_;
    Token token_;
};

}  // namespace

bool readFbxAscii(const std::string& text, const std::string& path, FbxDocument& document,
                  LoadError& error) {
    return AsciiParser(text, path, error).parse(document);
}

}  // namespace vorel
