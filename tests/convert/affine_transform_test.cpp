// The rotation helpers of convert/affine_transform.h that retargeting turns bones with: the
// shortest turn between two directions (opposite ones included), a transform's rotation
// whatever its scale, and unit length that leaves a zero vector alone.
#include "convert/affine_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "math/pi.h"

namespace vorel {
namespace {

double distance(const Point3d& a, const Point3d& b) {
    return length(difference(a, b));
}

TEST(RotationBetween, TakesTheFirstDirectionOntoTheSecondByTheShortestTurn) {
    const Point3d directions[] = {{1.0, 0.0, 0.0},  {0.0, 1.0, 0.0},   {0.0, 0.0, -1.0},
                                  {0.6, 0.8, 0.0},  {-0.6, 0.0, 0.8},  {0.48, 0.6, -0.64},
                                  {-1.0, 0.0, 0.0}, {0.0, -0.8, -0.6}, {1e-9, 1.0, 0.0}};
    for (const Point3d& from : directions) {
        for (const Point3d& to : directions) {
            const Point3d unitFrom = normalized(from);
            const Point3d unitTo = normalized(to);
            const Quaternion4d turn = rotationBetween(unitFrom, unitTo);
            EXPECT_LT(distance(rotated(turn, unitFrom), unitTo), 1e-9);
            const double angle = std::acos(std::clamp(dot(unitFrom, unitTo), -1.0, 1.0));
            EXPECT_NEAR(angleBetweenDegrees(turn, Quaternion4d{}), angle * 180.0 / Pi, 1e-6);
        }
    }
}

TEST(RotationOf, IsTheRotationOfATransformWhateverItsScaleAndTranslation) {
    TrsTransform trs;
    trs.translation = {3.0, -2.0, 7.0};
    trs.rotation = normalizedQuaternion({0.2, -0.4, 0.1, 0.9});
    trs.scale = {2.0, 0.5, 3.0};
    EXPECT_LT(angleBetweenDegrees(rotationOf(AffineTransform::fromTrs(trs)), trs.rotation), 1e-9);
    const AffineTransform turn = rotationTransform(trs.rotation);
    EXPECT_LT(length(turn.translation), 1e-15);
    EXPECT_LT(
        distance(turn.transformDirection({0.0, 0.0, 1.0}), rotated(trs.rotation, {0.0, 0.0, 1.0})),
        1e-15);
}

TEST(Normalized, GivesUnitLengthAndLeavesAZeroVectorAlone) {
    EXPECT_NEAR(length(normalized({3.0, -4.0, 12.0})), 1.0, 1e-15);
    const Point3d zero = normalized({});
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);
}

}  // namespace
}  // namespace vorel
