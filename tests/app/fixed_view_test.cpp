// The fixed view's test of whole balls: no point of a ball found inside leaves the picture at
// any sampled turn, the bound is not loose by more than the ball's size (a ball twice as large
// as the largest found inside reaches out), and a ball that is not a number is never inside.
#include "app/fixed_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/pi.h"

namespace vorel {
namespace {

// Points on the ball's surface, in many directions.
template <typename Check>
void forPointsOnBall(const Vector3& centre, double radius, Check check) {
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j <= 6; ++j) {
            const double around = 2.0 * Pi * i / 12.0;
            const double up = Pi * j / 6.0 - Pi / 2.0;
            check(Vector3(static_cast<float>(centre.x + radius * std::cos(up) * std::cos(around)),
                          static_cast<float>(centre.y + radius * std::sin(up)),
                          static_cast<float>(centre.z + radius * std::cos(up) * std::sin(around))));
        }
    }
}

TEST(SphereInsideViewAtEveryTurn, HoldsOnlyBallsWhosePointsAreAllInsideAtEveryTurn) {
    int inside = 0;
    int outside = 0;
    for (float x = -150.0f; x <= 150.0f; x += 30.0f) {
        for (float y = -20.0f; y <= 420.0f; y += 40.0f) {
            for (const double radius : {0.0, 5.0, 25.0, 60.0}) {
                const Vector3 centre(x, y, 0.5f * x);
                if (!sphereInsideViewAtEveryTurn(centre, radius)) {
                    ++outside;
                    continue;
                }
                ++inside;
                forPointsOnBall(centre, radius, [&](const Vector3& p) {
                    EXPECT_TRUE(insideViewAtEveryTurn(p)) << p.x << " " << p.y << " " << p.z;
                    for (float turn = 0.0f; turn < 360.0f; turn += 15.0f)
                        EXPECT_TRUE(insideViewAtTurn(p, turn)) << turn;
                });
            }
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_GT(outside, 0);
}

TEST(SphereInsideViewAtEveryTurn, IsThePointTestForABallOfNoSizeAndNoLooserThanTheBall) {
    const Vector3 middle(0.0f, 150.0f, 0.0f);
    EXPECT_TRUE(sphereInsideViewAtEveryTurn(middle, 0.0));
    EXPECT_EQ(sphereInsideViewAtEveryTurn(middle, 0.0), insideViewAtEveryTurn(middle));
    // Grown until it is no longer found inside: twice that size, it reaches out of the picture.
    double radius = 0.0;
    while (sphereInsideViewAtEveryTurn(middle, radius)) radius += 1.0;
    EXPECT_GT(radius, 10.0);
    bool reachesOut = false;
    forPointsOnBall(middle, 2.0 * radius, [&](const Vector3& p) {
        reachesOut = reachesOut || !insideViewAtEveryTurn(p);
    });
    EXPECT_TRUE(reachesOut);
}

TEST(SphereInsideViewAtEveryTurn, ABallThatIsNotANumberIsNeverInside) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(sphereInsideViewAtEveryTurn(Vector3(0.0f, 150.0f, 0.0f), std::nan("")));
    EXPECT_FALSE(sphereInsideViewAtEveryTurn(Vector3(0.0f, 150.0f, 0.0f), -1.0));
    EXPECT_FALSE(sphereInsideViewAtEveryTurn(Vector3(0.0f, nan, 0.0f), 1.0));
    EXPECT_FALSE(sphereInsideViewAtEveryTurn(Vector3(nan, 150.0f, 0.0f), 1.0));
    EXPECT_FALSE(sphereInsideViewAtEveryTurn(Vector3(0.0f, 150.0f, inf), 1.0));
}

}  // namespace
}  // namespace vorel
