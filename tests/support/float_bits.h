// The bits of a float, for tests that compare results bit for bit rather than by value
// (a NaN equals itself, and 0 and -0 differ).
#pragma once

#include <cstdint>
#include <cstring>

namespace vorel::test_support {

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace vorel::test_support
