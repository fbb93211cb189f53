// composeAffineInline against the math library's composeAffine: the same bits in every
// element, for random matrices with signed zeros, infinities and NaNs among their entries and
// any bottom row. A NaN may come out with another sign or payload: the processor passes on
// whichever NaN operand comes first, and the compiler may order a product's operands either way.
#include "skeleton/affine_product.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace vorel {
namespace {

float pickEntry(std::mt19937& random) {
    constexpr float Special[] = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(),
                                 1e-39f,
                                 3e38f};
    const int kind = std::uniform_int_distribution<int>(0, 15)(random);
    if (kind < 8) return Special[kind];
    return std::uniform_real_distribution<float>(-10.0f, 10.0f)(random);
}

Matrix4 makeRandomMatrix(std::mt19937& random) {
    Matrix4 m;
    for (int i = 0; i < 16; ++i) m.element(i) = pickEntry(random);
    return m;
}

TEST(ComposeAffineInline, GivesComposeAffinesBitsForEveryElement) {
    std::mt19937 random(41);
    for (int trial = 0; trial < 20000; ++trial) {
        const Matrix4 first = makeRandomMatrix(random);
        const Matrix4 second = makeRandomMatrix(random);
        const Matrix4 expected = composeAffine(first, second);
        const Matrix4 product = composeAffineInline(first, second);
        for (int i = 0; i < 16; ++i) {
            std::uint32_t want;
            std::uint32_t got;
            const float wantValue = expected.element(i);
            const float gotValue = product.element(i);
            if (std::isnan(wantValue) && std::isnan(gotValue)) continue;
            std::memcpy(&want, &wantValue, sizeof want);
            std::memcpy(&got, &gotValue, sizeof got);
            ASSERT_EQ(want, got) << "element " << i << " of trial " << trial;
        }
    }
}

}  // namespace
}  // namespace vorel
