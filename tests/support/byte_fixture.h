// fromHex: turns hand-written bytes ("50 4C 59 ...") into a file image, so a test can check the
// loader against bytes that no writer of this project produced.
#pragma once

#include <string>

namespace vorel::test_support {

// Pairs of hex digits; white space between them is ignored.
std::string fromHex(const std::string& hex);

}  // namespace vorel::test_support
