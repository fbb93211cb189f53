// sampleChannel and interpolateSegment: each segment mode at and between keys, the exact-time
// and clamping rules, the search cache, and the curve solve.
#include "anim/sample_channel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "assets/load_animation.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

using test_support::makeCurveKey;
using test_support::makeKey;

// Keys at whole times 0 .. count-1 with varied values and all three modes, tangents computed
// as the loader does.
std::vector<Keyframe> makeLongChannel(int count) {
    std::vector<Keyframe> keys;
    for (int i = 0; i < count; ++i) {
        const SegmentMode mode = static_cast<SegmentMode>(i % 3);
        keys.push_back(
            makeKey(static_cast<float>(i), static_cast<float>((i * 7) % 5) - 2.0f, mode));
    }
    computeTangents(keys);
    return keys;
}

float sampleFresh(float time, const std::vector<Keyframe>& keys) {
    ChannelCache fresh;
    return sampleChannel(fresh, time, keys);
}

TEST(SampleChannelModes, SingleKeyHoldsItsValueAtEveryTime) {
    const std::vector<Keyframe> keys{makeKey(0.5f, 3.0f)};
    ChannelCache cache;
    for (const float time : {-10.0f, 0.0f, 0.5f, 0.75f, 100.0f}) {
        EXPECT_EQ(3.0f, sampleChannel(cache, time, keys));
    }
}

TEST(SampleChannelModes, LinearSegmentInterpolates) {
    const std::vector<Keyframe> keys{makeKey(0.0f, 0.0f, SegmentMode::Linear),
                                     makeKey(1.0f, 10.0f)};
    ChannelCache cache;
    EXPECT_EQ(2.5f, sampleChannel(cache, 0.25f, keys));
    EXPECT_EQ(7.5f, sampleChannel(cache, 0.75f, keys));
    EXPECT_EQ(2.5f, interpolateSegment(0, 0.25f, keys));
}

TEST(SampleChannelModes, ConstantSegmentHoldsTheStartValueUntilTheNextKey) {
    const std::vector<Keyframe> keys{makeKey(0.0f, 0.0f, SegmentMode::Constant),
                                     makeKey(1.0f, 10.0f)};
    ChannelCache cache;
    EXPECT_EQ(0.0f, sampleChannel(cache, 0.01f, keys));
    EXPECT_EQ(0.0f, sampleChannel(cache, 0.5f, keys));
    EXPECT_EQ(0.0f, sampleChannel(cache, 0.999f, keys));
    EXPECT_EQ(10.0f, sampleChannel(cache, 1.0f, keys));
}

TEST(SampleChannelModes, CurveWithFullLengthTimeTangentsFollowsTheHermiteValue) {
    // Time tangents equal to the segment length make T(s) = 2s linear; the value tangents 2
    // and 6 give V(s) = s (2 + 2s).
    const std::vector<Keyframe> keys{makeCurveKey(0.0f, 0.0f, 2.0f, 2.0f, 2.0f, 2.0f),
                                     makeCurveKey(2.0f, 4.0f, 2.0f, 6.0f, 2.0f, 6.0f)};
    ChannelCache cache;
    EXPECT_FLOAT_EQ(0.625f, sampleChannel(cache, 0.5f, keys));
    EXPECT_FLOAT_EQ(1.5f, sampleChannel(cache, 1.0f, keys));
    EXPECT_FLOAT_EQ(0.75f * 3.5f, sampleChannel(cache, 1.5f, keys));
}

TEST(SampleChannelModes, ModesTwoAndThreeAreTheSameCurve) {
    std::vector<Keyframe> keys{makeKey(0.0f, 1.0f, SegmentMode::Curve), makeKey(1.0f, 3.0f),
                               makeKey(3.0f, -1.0f)};
    computeTangents(keys);
    const float modeTwo = interpolateSegment(0, 0.3f, keys);
    keys[0].flags = static_cast<std::uint8_t>(keys[0].flags | 6);
    EXPECT_EQ(modeTwo, interpolateSegment(0, 0.3f, keys));
}

// V at the s where T(s) = time, solved by bisection in double precision, of the segment
// starting at key i (tangents negated back from storage).
double exactCurveValue(const std::vector<Keyframe>& keys, int i, double time) {
    const Keyframe& a = keys[static_cast<std::size_t>(i)];
    const Keyframe& b = keys[static_cast<std::size_t>(i + 1)];
    const double ma = -a.outTangent.time, na = -a.outTangent.value;
    const double mb = -b.inTangent.time, nb = -b.inTangent.value;
    auto hermite = [](double s, double p0, double m0, double p1, double m1) {
        const double s2 = s * s, s3 = s2 * s;
        return (2 * s3 - 3 * s2 + 1) * p0 + (s3 - 2 * s2 + s) * m0 + (-2 * s3 + 3 * s2) * p1 +
               (s3 - s2) * m1;
    };
    double low = 0.0, high = 1.0;
    for (int step = 0; step < 60; ++step) {
        const double mid = 0.5 * (low + high);
        (hermite(mid, a.time, ma, b.time, mb) < time ? low : high) = mid;
    }
    return hermite(low, a.value, na, b.value, nb);
}

TEST(SampleChannelCurve, FirstAndLastSegmentsConvergeOnTheCurve) {
    // The outer keys have half-length time tangents, so T(s) is not linear there.
    std::vector<Keyframe> keys{makeKey(0.0f, 0.0f, SegmentMode::Curve),
                               makeKey(1.0f, 2.0f, SegmentMode::Curve), makeKey(3.0f, 2.0f)};
    computeTangents(keys);
    ChannelCache cache;
    for (int step = 1; step < 300; ++step) {
        const float time = static_cast<float>(step) * 0.01f;
        if (time == 1.0f) continue;
        const int segment = time < 1.0f ? 0 : 1;
        EXPECT_NEAR(exactCurveValue(keys, segment, time), sampleChannel(cache, time, keys), 2e-3)
            << "t = " << time;
    }
}

TEST(SampleChannelCurve, DegenerateTangentsStillEndWithAFiniteValue) {
    // Flat time tangents at both ends (T' = 0 there), then time tangents pointing backwards
    // (T runs outside the segment): the solve must stop and give a point of the curve.
    const std::vector<Keyframe> flat{makeCurveKey(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f),
                                     makeCurveKey(1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f)};
    for (const float time : {0.0001f, 0.01f, 0.5f, 0.99f, 0.9999f}) {
        EXPECT_NEAR(exactCurveValue(flat, 0, time), interpolateSegment(0, time, flat), 2e-3);
    }
    const std::vector<Keyframe> backwards{makeCurveKey(0.0f, 0.0f, -3.0f, 1.0f, -3.0f, 1.0f),
                                          makeCurveKey(1.0f, 1.0f, -3.0f, 1.0f, -3.0f, 1.0f)};
    for (int step = 1; step < 100; ++step) {
        EXPECT_TRUE(
            std::isfinite(interpolateSegment(0, static_cast<float>(step) * 0.01f, backwards)));
    }
}

TEST(SampleChannelExactTimes, KeyTimesGiveTheKeysOwnValue) {
    std::vector<Keyframe> keys{makeKey(0.0f, 0.0f, SegmentMode::Curve),
                               makeKey(1.0f, 5.0f, SegmentMode::Linear),
                               makeKey(2.0f, -3.0f, SegmentMode::Curve), makeKey(3.0f, 7.0f)};
    computeTangents(keys);
    ChannelCache cache;
    EXPECT_EQ(5.0f, sampleChannel(cache, 1.0f, keys));
    EXPECT_EQ(-3.0f, sampleChannel(cache, 2.0f, keys));
    EXPECT_EQ(5.0f, sampleChannel(cache, 1.0f, keys));
    EXPECT_EQ(0.0f, sampleChannel(cache, 0.0f, keys));
    EXPECT_EQ(7.0f, sampleChannel(cache, 3.0f, keys));
}

TEST(SampleChannelExactTimes, ForwardHitOnTheLaterKeyIsRecordedUnderTheEarlierIndex) {
    const std::vector<Keyframe> keys = makeLongChannel(6);
    ChannelCache cache;
    EXPECT_EQ(keys[3].value, sampleChannel(cache, 3.0f, keys));
    EXPECT_EQ(2, cache.index);
    EXPECT_EQ(3.0f, cache.time);
    EXPECT_EQ(keys[3].value, cache.value);
}

TEST(SampleChannelExactTimes, BackwardHitOnAKeyIsRecordedUnderItsOwnIndex) {
    const std::vector<Keyframe> keys = makeLongChannel(6);
    ChannelCache cache;
    sampleChannel(cache, 4.5f, keys);
    EXPECT_EQ(4, cache.index);
    EXPECT_EQ(keys[3].value, sampleChannel(cache, 3.0f, keys));
    EXPECT_EQ(3, cache.index);
}

TEST(SampleChannelClamping, TimesOutsideTheKeysTakeTheEndValuesAndLeaveTheCache) {
    const std::vector<Keyframe> keys{makeKey(1.0f, 4.0f), makeKey(2.0f, 8.0f)};
    ChannelCache cache;
    EXPECT_EQ(4.0f, sampleChannel(cache, 0.5f, keys));
    EXPECT_EQ(4.0f, sampleChannel(cache, -1.0f, keys));
    EXPECT_EQ(8.0f, sampleChannel(cache, 2.0f, keys));
    EXPECT_EQ(8.0f, sampleChannel(cache, 50.0f, keys));
    EXPECT_EQ(0, cache.index);
    EXPECT_EQ(-1.0f, cache.time);
}

TEST(SampleChannelClamping, EmptyChannelGivesTheNeutralValue) {
    const std::vector<Keyframe> none;
    ChannelCache cache;
    EXPECT_EQ(0.0f, sampleChannel(cache, 0.5f, none));
    EXPECT_EQ(1.0f, sampleChannel(cache, 0.5f, none, 1.0f));
    EXPECT_EQ(-1.0f, cache.time);
}

TEST(SampleChannelCache, RepeatedTimeAnswersFromTheCache) {
    const std::vector<Keyframe> keys{makeKey(0.0f, 0.0f), makeKey(1.0f, 10.0f)};
    ChannelCache cache;
    EXPECT_EQ(5.0f, sampleChannel(cache, 0.5f, keys));
    cache.value = 42.0f;
    EXPECT_EQ(42.0f, sampleChannel(cache, 0.5f, keys));
    EXPECT_EQ(2.5f, sampleChannel(cache, 0.25f, keys));
}

TEST(SampleChannelCache, SearchesInAnyOrderMatchFreshCaches) {
    const std::vector<Keyframe> keys = makeLongChannel(40);
    ChannelCache cache;
    for (float time = 38.95f; time > -0.5f; time -= 0.37f) {
        EXPECT_EQ(sampleFresh(time, keys), sampleChannel(cache, time, keys)) << time;
    }
    for (float time = -0.5f; time < 40.0f; time += 0.23f) {
        EXPECT_EQ(sampleFresh(time, keys), sampleChannel(cache, time, keys)) << time;
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<float> anyTime(-1.0f, 40.0f);
    for (int i = 0; i < 2000; ++i) {
        const float time = i % 10 == 0 ? static_cast<float>(i % 39) : anyTime(random);
        EXPECT_EQ(sampleFresh(time, keys), sampleChannel(cache, time, keys)) << time;
    }
}

TEST(SampleChannelCache, KeyTimeNotANumberAtTheCachedIndexStartsNoSearch) {
    // A hostile file can hold such a key. It is neither at or before nor after the query time,
    // so neither search runs: the query is only recorded and the cached value answers.
    const std::vector<Keyframe> keys{makeKey(0.0f, 10.0f, SegmentMode::Constant),
                                     makeKey(std::nanf(""), 20.0f, SegmentMode::Constant),
                                     makeKey(2.0f, 30.0f), makeKey(3.0f, 40.0f)};
    ChannelCache cache;
    EXPECT_EQ(20.0f, sampleChannel(cache, 0.5f, keys));
    ASSERT_EQ(1, cache.index);
    EXPECT_EQ(20.0f, sampleChannel(cache, 0.25f, keys));
    EXPECT_EQ(1, cache.index);
    EXPECT_EQ(0.25f, cache.time);
}

TEST(SampleChannelCache, PlayingForwardKeepsTheCacheOnTheCurrentSegment) {
    const std::vector<Keyframe> keys = makeLongChannel(30);
    ChannelCache cache;
    int previousIndex = 0;
    for (float time = 0.005f; time < 29.0f; time += 0.01f) {
        sampleChannel(cache, time, keys);
        EXPECT_EQ(static_cast<int>(std::floor(time)), cache.index) << time;
        EXPECT_LE(cache.index - previousIndex, 1);
        previousIndex = cache.index;
    }
}

}  // namespace
}  // namespace vorel
