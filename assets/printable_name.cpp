#include "assets/printable_name.h"

namespace vorel {

std::string printableName(const std::string& name) {
    static const char* const Hex = "0123456789abcdef";
    std::string shown;
    shown.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += c;
            continue;
        }
        shown += "\\x";
        shown += Hex[byte >> 4];
        shown += Hex[byte & 0xf];
    }
    return shown;
}

}  // namespace vorel
