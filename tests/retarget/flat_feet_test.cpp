// Flat feet found from the ankle's and the toe's paths alone: a heel that rises ends the flat
// span a few degrees in, whatever the foot's slope at rest, its units or its frame rate.
#include "retarget/flat_feet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "math/pi.h"

namespace vorel {
namespace {

// A foot resting flat for `still` frames, then its heel rising about the toe by `degreesEach`
// a frame; the ankle sits `rise` above the toe when flat, `length` from it, all times `unit`.
struct HeelRise {
    std::vector<Point3d> ankle;
    std::vector<Point3d> toe;
};

HeelRise heelRise(int still, int rising, double degreesEach, double unit) {
    const double rise = 0.06 * unit, length = 0.15 * unit;
    const double flatSlope = std::asin(rise / length);
    HeelRise foot;
    for (int f = 0; f < still + rising; ++f) {
        const double slope = flatSlope + std::max(0, f - still + 1) * degreesEach * Pi / 180.0;
        const Point3d toe{0.0, 0.02 * unit, 0.3 * unit};
        foot.toe.push_back(toe);
        foot.ankle.push_back(
            {toe.x, toe.y + length * std::sin(slope), toe.z - length * std::cos(slope)});
    }
    return foot;
}

TEST(FlatFeet, ARisingHeelEndsTheFlatSpanAtTheTolerance) {
    for (const double unit : {1.0, 100.0}) {
        for (const double frameTime : {1.0 / 30.0, 1.0 / 120.0}) {
            SCOPED_TRACE(unit);
            SCOPED_TRACE(frameTime);
            const HeelRise foot = heelRise(60, 60, 0.9, unit);
            const std::vector<ContactSpan> spans =
                findFlatSpans(foot.ankle, foot.toe, {{0, 119}}, frameTime);
            ASSERT_EQ(spans.size(), 1u);
            EXPECT_EQ(spans.front().first, 0);
            // Frame 59 + k has risen 0.9 k degrees: 4.5 is still within the tolerance, 5.4 is not.
            EXPECT_EQ(spans.front().last, 64);
        }
    }
}

TEST(FlatFeet, OnlyRestingFramesCountAndShortSpansAreDropped) {
    const HeelRise foot = heelRise(120, 0, 0.0, 1.0);
    const double frameTime = 1.0 / 60.0;
    // Three frames (0.05 s at 60 frames a second) count; two do not.
    const std::vector<ContactSpan> spans =
        findFlatSpans(foot.ankle, foot.toe, {{10, 40}, {50, 51}, {60, 62}}, frameTime);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].first, 10);
    EXPECT_EQ(spans[0].last, 40);
    EXPECT_EQ(spans[1].first, 60);
    EXPECT_EQ(spans[1].last, 62);
    EXPECT_TRUE(findFlatSpans(foot.ankle, foot.toe, {}, frameTime).empty());
    EXPECT_TRUE(findFlatSpans({}, {}, {{0, 3}}, frameTime).empty());
}

}  // namespace
}  // namespace vorel
