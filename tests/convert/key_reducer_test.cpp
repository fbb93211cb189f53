// reduceToTrack and staysAtRest: the kept keys, read back through the viewer's own track
// sampler, follow every sample within the tolerances at uneven sample times; each channel
// group keys only where it moves; barely moving components, jumps and quaternion sign flips
// come out as the viewer needs them.
#include "convert/key_reducer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "anim/animation_track.h"
#include "math/pi.h"

namespace vorel {
namespace {

Quaternion4d turnAbout(const Point3d& axis, double degrees) {
    const double half = degrees * Pi / 360.0;
    const double s = std::sin(half) / length(axis);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(half)};
}

struct Motion {
    std::vector<TrsTransform> samples;
    std::vector<float> times;
};

// The samples of `at` at the given times.
Motion sampled(const std::vector<float>& times, const std::function<TrsTransform(double)>& at) {
    Motion motion;
    motion.times = times;
    for (float time : times) motion.samples.push_back(at(time));
    return motion;
}

std::vector<float> evenTimes(int count, double step) {
    std::vector<float> times;
    for (int i = 0; i < count; ++i) times.push_back(static_cast<float>(i * step));
    return times;
}

// Crowded where the glTF importer refines a curve, sparse elsewhere.
std::vector<float> unevenTimes() {
    std::vector<float> times;
    double t = 0.0;
    for (int i = 0; i < 400; ++i) {
        times.push_back(static_cast<float>(t));
        t += i % 7 == 0 ? 0.031 : 0.004 + 0.002 * (i % 3);
    }
    return times;
}

TrsTransform wander(double t) {
    TrsTransform pose;
    pose.translation = {3.0 * std::sin(2.1 * t), 0.5 * t * t, -2.0 * std::cos(1.3 * t)};
    pose.rotation = turnAbout({0.3, 1.0, -0.2}, 80.0 * std::sin(1.7 * t) + 20.0 * t);
    pose.scale = {1.0 + 0.2 * std::sin(t), 1.0, 1.0 - 0.1 * t};
    return pose;
}

struct Worst {
    double angle = 0.0;
    double length = 0.0;
    double scale = 0.0;
};

// The largest errors of the viewer's reading of the track at every sample.
Worst worstErrors(const TrackData& track, const Motion& motion) {
    AnimationTrack sampler(&track);
    Worst worst;
    for (std::size_t i = 0; i < motion.samples.size(); ++i) {
        const BoneTransform read = sampler.sample(motion.times[i]);
        const TrsTransform& exact = motion.samples[i];
        const Quaternion4d q{read.rotation.x, read.rotation.y, read.rotation.z, read.rotation.w};
        worst.angle =
            std::max(worst.angle, angleBetweenDegrees(normalizedQuaternion(q), exact.rotation));
        worst.length = std::max(worst.length,
                                length(difference(toPoint3d(read.translation), exact.translation)));
        worst.scale = std::max(worst.scale, length(difference(toPoint3d(read.scale), exact.scale)));
    }
    return worst;
}

std::size_t keyCount(const TrackData& track) {
    std::size_t keys = 0;
    for (const std::vector<Keyframe>& channel : track.channels) keys += channel.size();
    return keys;
}

TEST(KeyReducer, EverySampleIsReadWithinTheTolerancesAtUnevenTimes) {
    const Motion motion = sampled(unevenTimes(), wander);
    const KeyTolerances tolerances = importTolerances(4.5);
    const TrackData track = reduceToTrack("wander", motion.samples, motion.times, tolerances);
    const Worst worst = worstErrors(track, motion);
    // Float keys and times add a little to the reduction's own error.
    EXPECT_LE(worst.angle, tolerances.angleDegrees + 0.005);
    EXPECT_LE(worst.length, tolerances.length * 1.1);
    EXPECT_LE(worst.scale, tolerances.scale * 1.1);
    EXPECT_LT(keyCount(track), motion.samples.size() * ChannelCount / 2);
    EXPECT_EQ(track.name, "wander");
    EXPECT_EQ(track.channels[0].back().time, motion.times.back());
}

TEST(KeyReducer, EachGroupKeysOnlyWhereItMovesAndStillChannelsAreOneKey) {
    // A straight slide in x, a swing about z, no scale: 240 frames at 120 per second.
    const Motion motion = sampled(evenTimes(240, 1.0 / 120.0), [](double t) {
        TrsTransform pose;
        pose.translation = {40.0 * t, 3.0, 0.0};
        pose.rotation = turnAbout({0.0, 0.0, 1.0}, 60.0 * std::sin(2.4 * t));
        return pose;
    });
    const TrackData track =
        reduceToTrack("swing", motion.samples, motion.times, retargetTolerances(221.0));
    EXPECT_EQ(track.channels[0].size(), 2u);
    EXPECT_EQ(track.channels[1].size(), 1u);
    EXPECT_EQ(track.channels[1].front().value, 3.0f);
    for (int c = 2; c < 8; ++c)
        EXPECT_EQ(track.channels[static_cast<std::size_t>(c)].size(), 1u) << c;
    EXPECT_EQ(track.channels[3].front().value, 1.0f);
    EXPECT_GT(track.channels[9].size(), 4u);
    EXPECT_LT(track.channels[9].size(), 120u);
    EXPECT_EQ(track.channels[8].size(), track.channels[9].size());
    for (const std::vector<Keyframe>& keys : track.channels) {
        for (std::size_t k = 0; k + 1 < keys.size(); ++k)
            EXPECT_EQ(keys[k].flags, keyFlags(SegmentMode::Linear, false));
        EXPECT_EQ(keys.back().flags, keyFlags(SegmentMode::Constant, false));
    }
}

TEST(KeyReducer, JitterWithinHalfTheLengthToleranceIsHeldButLargerNoiseIsKept) {
    const KeyTolerances tolerances = importTolerances(100.0);
    auto noisy = [&](double amplitude) {
        return sampled(evenTimes(50, 0.01), [=](double t) {
            TrsTransform pose;
            pose.translation = {5.0 + amplitude * std::sin(977.0 * t), 0.0, 0.0};
            return pose;
        });
    };
    const Motion quiet = noisy(0.4 * tolerances.length);
    const TrackData held = reduceToTrack("quiet", quiet.samples, quiet.times, tolerances);
    EXPECT_EQ(held.channels[0].size(), 1u);
    EXPECT_LE(worstErrors(held, quiet).length, tolerances.length);
    const Motion loud = noisy(3.0 * tolerances.length);
    const TrackData kept = reduceToTrack("loud", loud.samples, loud.times, tolerances);
    EXPECT_GT(kept.channels[0].size(), 25u);
    EXPECT_LE(worstErrors(kept, loud).length, tolerances.length * 1.1);
}

TEST(KeyReducer, AJumpBetweenTwoSamplesOneFloatStepApartStaysSharp) {
    // A STEP channel as the glTF importer samples it: its left limit just before the jump.
    const float jump = 0.5f;
    std::vector<float> times = {0.0f, 0.25f, std::nextafter(jump, 0.0f), jump, 0.75f, 1.0f};
    const Motion motion = sampled(times, [&](double t) {
        TrsTransform pose;
        pose.rotation = turnAbout({0.0, 1.0, 0.0}, t < jump ? 0.0 : 60.0);
        return pose;
    });
    const TrackData track =
        reduceToTrack("step", motion.samples, motion.times, importTolerances(2.0));
    EXPECT_LE(worstErrors(track, motion).angle, 0.05);
    EXPECT_LE(keyCount(track), 10u + 6u);
}

TEST(KeyReducer, QuaternionSignFlipsBetweenSamplesAreNotKeysOrLongTurns) {
    const Motion motion = sampled(evenTimes(50, 0.01), [](double t) {
        TrsTransform pose;
        pose.rotation = turnAbout({0.0, 0.0, 1.0}, 100.0 * t);
        if (std::lround(t * 100.0) % 2 == 1) {
            const Quaternion4d q = pose.rotation;
            pose.rotation = {-q.x, -q.y, -q.z, -q.w};
        }
        return pose;
    });
    const TrackData track =
        reduceToTrack("turn", motion.samples, motion.times, importTolerances(2.0));
    EXPECT_LE(track.channels[9].size(), 3u);
    EXPECT_LE(worstErrors(track, motion).angle, 0.055);
}

TEST(KeyReducer, OneSampleIsOneConstantKeyPerChannel) {
    const Motion motion = sampled({0.0f}, wander);
    const TrackData track =
        reduceToTrack("once", motion.samples, motion.times, importTolerances(2.0));
    for (const std::vector<Keyframe>& keys : track.channels) {
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys.front().flags, keyFlags(SegmentMode::Constant, false));
    }
    EXPECT_EQ(longestChannel(track), 1u);
}

TEST(KeyReducer, ABoneStaysAtRestOnlyWhileEveryGroupIsWithinItsTolerance) {
    const KeyTolerances tolerances = importTolerances(100.0);
    std::vector<TrsTransform> samples(3);
    samples[1].translation = {0.9 * tolerances.length, 0.0, 0.0};
    samples[2].rotation = turnAbout({1.0, 0.0, 0.0}, 0.9 * tolerances.angleDegrees);
    EXPECT_TRUE(staysAtRest(samples, tolerances));
    std::vector<TrsTransform> turned = samples;
    turned[2].rotation = turnAbout({1.0, 0.0, 0.0}, 1.1 * tolerances.angleDegrees);
    EXPECT_FALSE(staysAtRest(turned, tolerances));
    std::vector<TrsTransform> scaled = samples;
    scaled[0].scale = {1.0, 1.0 + 2.0 * tolerances.scale, 1.0};
    EXPECT_FALSE(staysAtRest(scaled, tolerances));
    std::vector<TrsTransform> moved = samples;
    moved[1].translation = {0.0, 0.0, -1.1 * tolerances.length};
    EXPECT_FALSE(staysAtRest(moved, tolerances));
}

TEST(KeyReducer, DistinctKeyTimesCountsEachTimeOnceOverAllTracks) {
    AnimationData animation;
    const Motion slide = sampled(evenTimes(5, 0.1), [](double t) {
        TrsTransform pose;
        pose.translation = {std::sin(9.0 * t), 0.0, 0.0};
        return pose;
    });
    animation.tracks.push_back(
        reduceToTrack("a", slide.samples, slide.times, importTolerances(1.0)));
    animation.tracks.push_back(
        reduceToTrack("b", slide.samples, slide.times, importTolerances(1.0)));
    EXPECT_EQ(distinctKeyTimes(animation), 5u);
    EXPECT_EQ(longestChannel(animation.tracks.front()), 5u);
}

}  // namespace
}  // namespace vorel
