// Tolerant comparisons of math values for every test area, reporting every component on
// failure. Exact results are compared with == in the tests themselves.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "math/quaternion.h"
#include "math/vector3.h"

namespace vorel::test_support {

// Tolerance for results of a few float operations on values of order one.
constexpr float Tolerance = 1e-6f;

inline ::testing::AssertionResult isNear(const Vector3& actual, const Vector3& expected,
                                         float tolerance = Tolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not within "
           << tolerance << " of (" << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

inline ::testing::AssertionResult isNear(const Quaternion& actual, const Quaternion& expected,
                                         float tolerance = Tolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance &&
        std::fabs(actual.w - expected.w) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ", " << actual.w
           << ") is not within " << tolerance << " of (" << expected.x << ", " << expected.y << ", "
           << expected.z << ", " << expected.w << ")";
}

// The expectation form, for tests that compare many points in a row; the same argument order
// as isNear: what was computed first, what was expected second.
inline void expectNear(const Vector3& actual, const Vector3& expected,
                       float tolerance = Tolerance) {
    EXPECT_TRUE(isNear(actual, expected, tolerance));
}

}  // namespace vorel::test_support
