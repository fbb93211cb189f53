// fromHex: hand-assembled test fixtures.
#include "tests/support/byte_fixture.h"

#include <cctype>
#include <stdexcept>

namespace vorel::test_support {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::invalid_argument("not a hex digit in a test fixture");
}

}  // namespace

std::string fromHex(const std::string& hex) {
    std::string bytes;
    int high = -1;
    for (char c : hex) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) continue;
        if (high < 0) {
            high = hexDigit(c);
        } else {
            bytes.push_back(static_cast<char>(high * 16 + hexDigit(c)));
            high = -1;
        }
    }
    return bytes;
}

}  // namespace vorel::test_support
