// Vector3: constants, dot and cross, and the precision of normalize.
#include "math/vector3.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(Vector3Constants, AreTheOriginAndTheUnitAxes) {
    EXPECT_EQ(Vector3(), Vector3::Zero);
    EXPECT_EQ(Vector3::Zero, Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(Vector3::XAxis, Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(Vector3::YAxis, Vector3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(Vector3::ZAxis, Vector3(0.0f, 0.0f, 1.0f));
}

TEST(Vector3Products, CrossIsRightHanded) {
    EXPECT_EQ(Vector3::cross(Vector3::XAxis, Vector3::YAxis), Vector3::ZAxis);
    EXPECT_EQ(Vector3::cross(Vector3::YAxis, Vector3::XAxis), Vector3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(Vector3::cross(Vector3::YAxis, Vector3::ZAxis), Vector3::XAxis);
    EXPECT_EQ(Vector3::cross(Vector3::ZAxis, Vector3::XAxis), Vector3::YAxis);
}

TEST(Vector3Products, DotGivesSquaredLengthAndZeroForDifferentAxes) {
    const Vector3 v(2.0f, 3.0f, 6.0f);
    EXPECT_EQ(Vector3::dot(v, v), 49.0f);
    EXPECT_EQ(Vector3::dot(Vector3::XAxis, Vector3::ZAxis), 0.0f);
    EXPECT_EQ(Vector3::dot(Vector3(1.0f, -2.0f, 3.0f), Vector3(4.0f, 5.0f, -6.0f)), -24.0f);
}

TEST(Vector3Normalize, ScalesInPlaceAndReturnsTheSameObject) {
    Vector3 v(3.0f, 0.0f, 4.0f);
    Vector3& result = v.normalize();
    EXPECT_EQ(&result, &v);
    EXPECT_EQ(v, Vector3(0.6f, 0.0f, 0.8f));
}

TEST(Vector3Normalize, MultipliesByOneReciprocalInsteadOfDividing) {
    // |(3, 2, 6)| = 7. With k = 1/7 in float, 3*k rounds to 0x1.b6db70p-2, while 3/7 would round
    // to 0x1.b6db6ep-2; 6*k is exactly twice 3*k.
    Vector3 v(3.0f, 2.0f, 6.0f);
    v.normalize();
    EXPECT_EQ(v.x, 0x1.b6db70p-2f);
    EXPECT_EQ(v.z, 0x1.b6db70p-1f);
}

TEST(Vector3Values, SetAndNegatedWriteEachComponent) {
    Vector3 v;
    Vector3& result = v.set(1.0f, -2.0f, 3.5f);
    EXPECT_EQ(&result, &v);
    EXPECT_EQ(v, Vector3(1.0f, -2.0f, 3.5f));
    EXPECT_EQ(v.negated(), Vector3(-1.0f, 2.0f, -3.5f));
}

}  // namespace
}  // namespace vorel
