// Quaternion: axis-angle construction bit for bit, product order, the rotation block and its
// inverse conversion on every branch, and slerp.
#include "math/quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "tests/support/float_bits.h"
#include "tests/support/near.h"

namespace vorel {

using namespace test_support;
namespace {

using test_support::bitsOf;

Vector3 rotated(const Quaternion& q, const Vector3& p) {
    return transformPoint(q.toMatrix4(), p);
}

Quaternion negated(const Quaternion& q) {
    return Quaternion().set(-q.x, -q.y, -q.z, -q.w);
}

TEST(QuaternionConstruction, DefaultAndZeroAngleAreExactlyTheIdentity) {
    EXPECT_EQ(Quaternion(), Quaternion().set(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(Quaternion::Identity, Quaternion());
    EXPECT_EQ(Quaternion(Vector3::Zero, 0.0f, false), Quaternion::Identity);
    EXPECT_EQ(Quaternion(Vector3(1.0f, -2.0f, 30.0f), 0.0f, false), Quaternion::Identity);
}

TEST(QuaternionConstruction, AxisAngleHalvesDegreesThenScalesByTheFloatFactor) {
    // h = (90 / 2) * 0.0174533f = 0x3F490FE0; sin and cos of h in double, rounded to float.
    // The single-precision pi/180 would give h = 0x3F490FDB and sin h = 0x3F3504F3 instead.
    const Quaternion q(Vector3::ZAxis, 90.0f, false);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(bitsOf(q.z), 0x3F3504F7u);
    EXPECT_EQ(bitsOf(q.w), 0x3F3504EFu);
    EXPECT_TRUE(isNear(rotated(q, Vector3::XAxis), Vector3::YAxis));
}

TEST(QuaternionConstruction, NormaliseScalesTheWholeQuaternionNotTheAxis) {
    EXPECT_TRUE(isNear(Quaternion(Vector3(0.0f, 0.0f, 2.0f), 90.0f, true),
                       Quaternion().set(0.0f, 0.0f, 0.8944272f, 0.4472136f)));
    const Quaternion raw = Quaternion().set(0.0f, 3.0f, 0.0f, 4.0f);
    EXPECT_EQ(Quaternion().assign(raw, false), raw);
    EXPECT_TRUE(isNear(Quaternion().assign(raw, true), Quaternion().set(0.0f, 0.6f, 0.0f, 0.8f)));
}

TEST(QuaternionProduct, IdentityOnEitherSideGivesTheOtherOperand) {
    const Quaternion p = Quaternion().set(0.1f, -0.5f, 0.7f, 0.3f);
    EXPECT_EQ(p.multiply(Quaternion::Identity), p);
    EXPECT_EQ(Quaternion::Identity.multiply(p), p);
    // 0.01 + 0.25 + 0.49 + 0.09, to a float's precision however the sum is rounded.
    EXPECT_NEAR(Quaternion::dot(p, p), 0.84f, 1e-6f);
}

TEST(QuaternionProduct, RotatesByTheCalledOnQuaternionFirst) {
    const Quaternion a(Vector3::ZAxis, 90.0f, false);
    const Quaternion b(Vector3::XAxis, 90.0f, false);
    EXPECT_TRUE(isNear(rotated(a.multiply(b), Vector3::XAxis), Vector3::ZAxis));
    EXPECT_TRUE(isNear(rotated(b.multiply(a), Vector3::XAxis), Vector3::YAxis));
}

TEST(QuaternionProduct, MultiplyInPlaceMayTakeItselfAsOperand) {
    // A square is (2 w v, w * w - v . v): here (0.06, -0.3, 0.42, 0.09 - 0.75). A product that
    // overwrote a component before reading it again would be far off.
    Quaternion p = Quaternion().set(0.1f, -0.5f, 0.7f, 0.3f);
    const Quaternion square = Quaternion().set(0.06f, -0.3f, 0.42f, -0.66f);
    EXPECT_TRUE(isNear(p.multiply(p), square, 1e-6f));
    Quaternion& result = p.multiplyInPlace(p);
    EXPECT_EQ(&result, &p);
    EXPECT_TRUE(isNear(p, square, 1e-6f));
}

TEST(QuaternionToMatrix, MatchesTheAxisAngleRotationInRadians) {
    const Vector3 axis(1.0f / 3.0f, -2.0f / 3.0f, 2.0f / 3.0f);
    Matrix4 expected;
    expected.setRotation(70.0f * 3.14159265f / 180.0f, axis);
    const Matrix4 m = Quaternion(axis, 70.0f, false).toMatrix4();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(isNear(m.column(i), expected.column(i), 1e-5f));
    EXPECT_EQ(m.columns[3], Vector4(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST(QuaternionToMatrix, DoesNotRescaleANonUnitQuaternion) {
    const Matrix4 m = Quaternion().set(0.0f, 0.0f, 1.0f, 1.0f).toMatrix4();
    EXPECT_EQ(m.column(0), Vector3(-1.0f, 2.0f, 0.0f));
    EXPECT_EQ(m.column(2), Vector3(0.0f, 0.0f, 1.0f));
}

TEST(QuaternionFromMatrix, PositiveTraceGivesThePositiveScalarRepresentative) {
    const Quaternion q = Quaternion().assign(Quaternion().set(0.1f, -0.2f, 0.3f, 0.9f), true);
    EXPECT_TRUE(isNear(Quaternion().setFromMatrix4(q.toMatrix4()), q));
    EXPECT_TRUE(isNear(Quaternion().setFromMatrix4(negated(q).toMatrix4()), q));
}

TEST(QuaternionFromMatrix, OtherwiseTheLargestDiagonalComponentComesOutPositive) {
    // 160 degrees about an axis dominated by each component in turn: the trace is negative.
    const Vector3 axes[] = {Vector3(0.9f, 0.3f, -0.3f), Vector3(0.3f, -0.9f, 0.3f),
                            Vector3(-0.3f, 0.3f, 0.9f)};
    for (Vector3 axis : axes) {
        const Quaternion q(axis.normalize(), 160.0f, false);
        const Matrix4 m = q.toMatrix4();
        ASSERT_LE(m.element(0) + m.element(5) + m.element(10), 0.0f);
        const bool dominantIsNegative = axis.y < -0.5f;
        EXPECT_TRUE(isNear(Quaternion().setFromMatrix4(m), dominantIsNegative ? negated(q) : q));
    }
    // Half turns about the axes have trace -1 and w = 0.
    EXPECT_TRUE(isNear(Quaternion().setFromMatrix4(Quaternion().set(0, -1, 0, 0).toMatrix4()),
                       Quaternion().set(0, 1, 0, 0)));
}

TEST(QuaternionFromMatrix, TiedDiagonalKeepsTheLowerIndex) {
    // A half turn about (1, -1, 0): m(0,0) = m(1,1) = 0, so x is chosen and comes out positive.
    const float s = std::sqrt(0.5f);
    const Matrix4 m = Quaternion().set(-s, s, 0.0f, 0.0f).toMatrix4();
    EXPECT_TRUE(isNear(Quaternion().setFromMatrix4(m), Quaternion().set(s, -s, 0.0f, 0.0f)));
}

TEST(QuaternionSlerp, ReachesEachEndAndHalvesTheAngle) {
    const Quaternion a = Quaternion::Identity;
    const Quaternion b(Vector3::ZAxis, 90.0f, false);
    EXPECT_TRUE(isNear(Quaternion::slerp(a, b, 0.0f), a));
    EXPECT_TRUE(isNear(Quaternion::slerp(a, b, 1.0f), b));
    EXPECT_TRUE(isNear(Quaternion::slerp(a, b, 0.5f), Quaternion(Vector3::ZAxis, 45.0f, false)));
}

TEST(QuaternionSlerp, NegativeDotTakesTheLongerArc) {
    // Halfway from the identity to -b is 135 degrees about -Z, not 45 degrees about +Z.
    const Quaternion minusB = negated(Quaternion(Vector3::ZAxis, 90.0f, false));
    EXPECT_TRUE(isNear(Quaternion::slerp(Quaternion::Identity, minusB, 0.5f),
                       Quaternion(Vector3::ZAxis, -135.0f, false)));
}

}  // namespace
}  // namespace vorel
