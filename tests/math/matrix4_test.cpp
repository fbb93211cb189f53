// Matrix4: element access, point transforms, the order of composeAffine, the direction of each
// rotation, in-place rotations and the frame built from three points, degenerate ones included.
#include "math/matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/quaternion.h"
#include "tests/support/near.h"

namespace vorel {

using namespace test_support;
namespace {

constexpr float HalfPi = 1.57079632679f;
constexpr float Poison = 9.0f;

// An affine matrix with no special structure, its bottom row poisoned to show who reads it.
Matrix4 skewedMatrix() {
    Matrix4 m;
    m.setColumns(Vector4(0.9f, 0.2f, -0.3f, Poison), Vector4(-0.1f, 1.1f, 0.4f, Poison),
                 Vector4(0.25f, -0.5f, 0.8f, Poison), Vector4(1.5f, -2.0f, 0.75f, Poison));
    return m;
}

Matrix4 translation(const Vector3& offset) {
    Matrix4 m;
    return m.setAxes(Vector3::XAxis, Vector3::YAxis, Vector3::ZAxis, offset);
}

// Compares the 3x4 affine part, the only part the transforms read.
::testing::AssertionResult isAffineNear(const Matrix4& actual, const Matrix4& expected) {
    for (int i = 0; i < 4; ++i) {
        auto result = isNear(actual.column(i), expected.column(i));
        if (!result) return result << " in column " << i;
    }
    return ::testing::AssertionSuccess();
}

TEST(Matrix4Access, DefaultIsTheIdentityAndSetAxesFillsColumns) {
    EXPECT_EQ(Matrix4(), Matrix4::Identity);
    EXPECT_EQ(Matrix4::Identity.columns[3], Vector4(0.0f, 0.0f, 0.0f, 1.0f));
    Matrix4 m;
    m.setAxes(Vector3(1, 2, 3), Vector3(4, 5, 6), Vector3(7, 8, 9), Vector3(10, 11, 12));
    EXPECT_EQ(m.columns[1], Vector4(4, 5, 6, 0));
    EXPECT_EQ(m.columns[3], Vector4(10, 11, 12, 1));
    EXPECT_EQ(m.column(3), Vector3(10, 11, 12));
    EXPECT_EQ(m.row(1), Vector3(2, 5, 8));
    EXPECT_EQ(m.element(4 * 2 + 1), 8.0f);
}

TEST(Matrix4Access, OnlyAssignAffineAndTransposedRotationWriteTheBottomRow) {
    Matrix4 m = skewedMatrix();
    m.setColumn(1, 7.0f, 8.0f, 9.0f);
    EXPECT_EQ(m.columns[1], Vector4(7.0f, 8.0f, 9.0f, Poison));
    Matrix4 affine;
    affine.assignAffine(m);
    EXPECT_EQ(affine.columns[1], Vector4(7.0f, 8.0f, 9.0f, 0.0f));
    EXPECT_EQ(affine.columns[3], Vector4(1.5f, -2.0f, 0.75f, 1.0f));

    const Matrix4 t = skewedMatrix().transposedRotation();
    EXPECT_EQ(t.columns[0], Vector4(0.9f, -0.1f, 0.25f, 0.0f));
    EXPECT_EQ(t.columns[2], Vector4(-0.3f, 0.4f, 0.8f, 0.0f));
    EXPECT_EQ(t.columns[3], Vector4(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST(Matrix4Transform, TransformPointIgnoresTheBottomRow) {
    Matrix4 clean;
    clean.assignAffine(skewedMatrix());
    const Vector3 p(1.0f, -2.0f, 3.0f);
    EXPECT_EQ(transformPoint(skewedMatrix(), p), transformPoint(clean, p));
    EXPECT_EQ(transformPoint(translation(Vector3(1, 2, 3)), p), Vector3(2.0f, 0.0f, 6.0f));
}

TEST(Matrix4Transform, TransformVector4UsesTheBottomRowToo) {
    const Vector4 v = transformVector4(skewedMatrix(), Vector4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(v, Vector4(0.9f + 1.5f, 0.2f - 2.0f, -0.3f + 0.75f, 2.0f * Poison));
}

TEST(Matrix4Compose, IdentityOnEitherSideOnlyForcesTheBottomRow) {
    Matrix4 expected;
    expected.assignAffine(skewedMatrix());
    EXPECT_EQ(composeAffine(Matrix4::Identity, skewedMatrix()), expected);
    EXPECT_EQ(composeAffine(skewedMatrix(), Matrix4::Identity), expected);
}

TEST(Matrix4Compose, FirstActsFirst) {
    Matrix4 rotation;
    rotation.setRotationZ(HalfPi);
    const Matrix4 shift = translation(Vector3::XAxis);
    EXPECT_TRUE(isNear(transformPoint(composeAffine(shift, rotation), Vector3::Zero),
                       Vector3(0.0f, 1.0f, 0.0f)));
    EXPECT_TRUE(isNear(transformPoint(composeAffine(rotation, shift), Vector3::Zero),
                       Vector3(1.0f, 0.0f, 0.0f)));

    const Matrix4 first = skewedMatrix();
    const Matrix4 second = skewedMatrix().transposedRotation().setColumn(3, 0.5f, 1.0f, -1.0f);
    const Vector3 p(0.3f, -1.2f, 2.0f);
    EXPECT_TRUE(isNear(transformPoint(composeAffine(first, second), p),
                       transformPoint(second, transformPoint(first, p))));
}

TEST(Matrix4Compose, ResultMayOverwriteItsOperand) {
    const Matrix4 expected = composeAffine(skewedMatrix(), skewedMatrix());
    Matrix4 m = skewedMatrix();
    m = composeAffine(m, m);
    EXPECT_EQ(m, expected);
}

TEST(Matrix4Rotation, AxisRotationsTurnCounterClockwiseSeenFromThePositiveEnd) {
    Matrix4 m;
    EXPECT_TRUE(isNear(transformPoint(m.setRotationZ(HalfPi), Vector3::XAxis), Vector3::YAxis));
    EXPECT_TRUE(isNear(transformPoint(m.setRotationX(HalfPi), Vector3::YAxis), Vector3::ZAxis));
    EXPECT_TRUE(isNear(transformPoint(m.setRotationY(HalfPi), Vector3::ZAxis), Vector3::XAxis));
    // A third of a turn about the diagonal cycles the axes X -> Y -> Z.
    const float third = 1.0f / std::sqrt(3.0f);
    m.setRotation(2.0943951f, Vector3(third, third, third));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3::XAxis), Vector3::YAxis));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3::YAxis), Vector3::ZAxis));
}

TEST(Matrix4Rotation, GeneralAxisAgreesWithEachAxisRotation) {
    // Both zero the translation and leave the bottom row unwritten.
    Matrix4 general = skewedMatrix();
    Matrix4 special = skewedMatrix();
    EXPECT_TRUE(
        isAffineNear(general.setRotation(0.7f, Vector3::XAxis), special.setRotationX(0.7f)));
    EXPECT_TRUE(
        isAffineNear(general.setRotation(0.7f, Vector3::YAxis), special.setRotationY(0.7f)));
    EXPECT_TRUE(
        isAffineNear(general.setRotation(0.7f, Vector3::ZAxis), special.setRotationZ(0.7f)));
    EXPECT_EQ(general.columns[3], Vector4(0.0f, 0.0f, 0.0f, Poison));
    EXPECT_EQ(special.columns[3], Vector4(0.0f, 0.0f, 0.0f, Poison));
}

TEST(Matrix4Rotation, ZeroAngleIsExactlyTheIdentityWhateverTheAxis) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Matrix4 m = skewedMatrix();
    EXPECT_EQ(m.setRotation(0.0f, Vector3(nan, 5.0f, -2.0f)), Matrix4::Identity);
    m = skewedMatrix();
    EXPECT_EQ(m.setRotationX(-0.0f), Matrix4::Identity);
    m = skewedMatrix();
    EXPECT_EQ(m.setRotationY(0.0f), Matrix4::Identity);
    // Only an exact zero takes the shortcut; a NaN angle goes through the formulas.
    EXPECT_TRUE(std::isnan(m.setRotationZ(nan).element(0)));
}

TEST(Matrix4RotateInPlace, ZeroAngleLeavesEveryElementBitIdentical) {
    Matrix4 m = skewedMatrix();
    m.rotateZ(0.0f).rotateX(0.0f).rotateY(0.0f).rotate(0.0f, Vector3::YAxis);
    EXPECT_EQ(m, skewedMatrix());
}

TEST(Matrix4RotateInPlace, RotateXTurnsTheTranslationToo) {
    Matrix4 m = translation(Vector3::YAxis);
    EXPECT_TRUE(isNear(m.rotateX(HalfPi).column(3), Vector3::ZAxis));
}

TEST(Matrix4RotateInPlace, EachRotationActsAfterTheMatrix) {
    const float angle = 0.8f;
    const Vector3 axis = Vector3(1.0f, -2.0f, 2.0f).normalize();
    Matrix4 rotation;
    Matrix4 m = skewedMatrix();
    EXPECT_TRUE(isAffineNear(m.rotateX(angle),
                             composeAffine(skewedMatrix(), rotation.setRotationX(angle))));
    m = skewedMatrix();
    EXPECT_TRUE(isAffineNear(m.rotateY(angle),
                             composeAffine(skewedMatrix(), rotation.setRotationY(angle))));
    m = skewedMatrix();
    EXPECT_TRUE(isAffineNear(m.rotateZ(angle),
                             composeAffine(skewedMatrix(), rotation.setRotationZ(angle))));
    m = skewedMatrix();
    EXPECT_TRUE(isAffineNear(m.rotate(angle, axis),
                             composeAffine(skewedMatrix(), rotation.setRotation(angle, axis))));
    EXPECT_EQ(m.columns[3].w, Poison);
}

TEST(Matrix4Quaternion, SetQuaternionCopiesAndRotateByActsAfter) {
    const Quaternion quarterAboutZ(Vector3::ZAxis, 90.0f, false);
    Matrix4 m = skewedMatrix();
    EXPECT_EQ(m.setQuaternion(quarterAboutZ), quarterAboutZ.toMatrix4());
    m = translation(Vector3::XAxis);
    EXPECT_TRUE(isNear(m.rotateBy(quarterAboutZ).column(3), Vector3::YAxis));
}

TEST(Matrix4PointFrame, AlongZKeepsTheIdentityBlock) {
    Matrix4 m = skewedMatrix();
    EXPECT_EQ(m.setPointFrame(Vector3(0, 0, 0), Vector3(0, 0, 5), Vector3(0, 3, 0)),
              Matrix4::Identity);
    m.setPointFrame(Vector3(1, 1, 1), Vector3(1, 1, 2), Vector3(1, 2, 1));
    EXPECT_EQ(m, translation(Vector3(-1.0f, -1.0f, -1.0f)));
}

TEST(Matrix4PointFrame, AlongZStillTurnsTheUpPointOntoY) {
    Matrix4 m;
    m.setPointFrame(Vector3::Zero, Vector3(0, 0, 2), Vector3(1, 0, 0));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3(1, 0, 0)), Vector3::YAxis));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3(0, 0, 2)), Vector3(0, 0, 2)));
}

TEST(Matrix4PointFrame, GeneralDirectionMapsOriginTargetAndUpPoint) {
    struct Case {
        Vector3 origin, target, up;
    };
    const Case cases[] = {{Vector3(1, 2, 3), Vector3(5, 2, 3), Vector3(1, 2, 4)},
                          {Vector3(0.5f, -1, 2), Vector3(2, 1, -1), Vector3(0, 3, 0)}};
    for (const Case& c : cases) {
        Matrix4 m = skewedMatrix();
        m.setPointFrame(c.origin, c.target, c.up);
        const Vector3 d(c.target.x - c.origin.x, c.target.y - c.origin.y, c.target.z - c.origin.z);
        const float distance = std::sqrt(Vector3::dot(d, d));
        EXPECT_TRUE(isNear(transformPoint(m, c.origin), Vector3::Zero, 1e-5f));
        EXPECT_TRUE(isNear(transformPoint(m, c.target), Vector3(0, 0, distance), 1e-5f));
        const Vector3 up = transformPoint(m, c.up);
        EXPECT_NEAR(up.x, 0.0f, 1e-5f);
        EXPECT_GT(up.y, 0.0f);
        EXPECT_TRUE(isNear(Vector3::cross(m.column(0), m.column(1)), m.column(2)));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(m.columns[i].w, 0.0f);
        EXPECT_EQ(m.columns[3].w, 1.0f);
    }
}

TEST(Matrix4PointFrame, TransposedRotationBuildsTheInverse) {
    Matrix4 frame;
    frame.setPointFrame(Vector3(0.5f, -1, 2), Vector3(2, 1, -1), Vector3(0, 3, 0));
    Matrix4 inverse = frame.transposedRotation();
    const Vector3 back = transformPoint(inverse, frame.column(3).negated());
    inverse.setColumn(3, back.x, back.y, back.z);
    EXPECT_TRUE(isAffineNear(composeAffine(frame, inverse), Matrix4::Identity));
}

TEST(Matrix4PointFrame, DegenerateDirectionsGiveFiniteFrames) {
    // Target on the origin: no direction, so only the origin moves.
    Matrix4 m = skewedMatrix();
    m.setPointFrame(Vector3(1, 2, 3), Vector3(1, 2, 3), Vector3(1, 5, 3));
    EXPECT_EQ(m, translation(Vector3(-1.0f, -2.0f, -3.0f)));
    // Straight down -Z: half a turn about X, then the up point is turned onto +Y. A NaN
    // anywhere would fail the comparisons.
    m.setPointFrame(Vector3::Zero, Vector3(0, 0, -5), Vector3(0, 1, 0));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3(0, 0, -5)), Vector3(0, 0, 5), 1e-5f));
    EXPECT_TRUE(isNear(transformPoint(m, Vector3(0, 1, 0)), Vector3::YAxis));
}

}  // namespace
}  // namespace vorel
