#include "assets/printable_name.h"

#include <cstddef>

namespace vorel {

namespace {

void appendEscaped(std::string& shown, const std::string& bytes, std::size_t at,
                   std::size_t count) {
    static const char* const Hex = "0123456789abcdef";
    for (std::size_t i = at; i < at + count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        shown += "\\x";
        shown += Hex[byte >> 4];
        shown += Hex[byte & 0xf];
    }
}

unsigned char byteAt(const std::string& bytes, std::size_t at) {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
}

// The length of the valid UTF-8 sequence at `at` (shortest form, no surrogate, at most
// U+10FFFF) and its code point; 0 when the bytes there are not one.
std::size_t utf8Sequence(const std::string& bytes, std::size_t at, char32_t& codePoint) {
    const unsigned char lead = byteAt(bytes, at);
    std::size_t length = 0;
    char32_t lowest = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        codePoint = lead & 0x1fU;
        lowest = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        codePoint = lead & 0x0fU;
        lowest = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        codePoint = lead & 0x07U;
        lowest = 0x10000;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(bytes, at + i);
        if ((next & 0xc0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3fU);
    }
    const bool surrogate = codePoint >= 0xd800 && codePoint <= 0xdfff;
    if (codePoint < lowest || codePoint > 0x10ffff || surrogate) return 0;
    return length;
}

bool reordersOrControls(char32_t codePoint) {
    return codePoint <= 0x9f || (codePoint >= 0x202a && codePoint <= 0x202e) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069);
}

}  // namespace

std::string printableName(const std::string& name) {
    std::string shown;
    shown.reserve(name.size());
    std::size_t at = 0;
    while (at < name.size()) {
        const auto byte = static_cast<unsigned char>(name[at]);
        if (byte < 0x80) {
            if (byte >= 0x20 && byte != 0x7f) {
                shown += name[at];
            } else {
                appendEscaped(shown, name, at, 1);
            }
            ++at;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t length = utf8Sequence(name, at, codePoint);
        if (length == 0) {
            appendEscaped(shown, name, at, 1);
            ++at;
        } else if (reordersOrControls(codePoint)) {
            appendEscaped(shown, name, at, length);
            at += length;
        } else {
            shown.append(name, at, length);
            at += length;
        }
    }
    return shown;
}

}  // namespace vorel
