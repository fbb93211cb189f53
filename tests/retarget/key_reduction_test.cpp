// buildReducedAnimation: the kept keys, read back through the viewer's own track sampler,
// reproduce every frame within the tolerances; straight and still motions keep few keys; the
// counts before and after are those of the tracks written.
#include "retarget/key_reduction.h"

#include <gtest/gtest.h>

#include <cmath>

#include "anim/animation_track.h"
#include "math/pi.h"

namespace vorel {
namespace {

struct TwoBones {
    BoneData moving;
    BoneData still;
    BoneList list;
    TwoBones() {
        moving.name = "moving";
        still.name = "still";
        list.bones = {&moving, &still};
        list.parents = {-1, 0};
    }
};

Quaternion4d turnAboutZ(double degrees) {
    const double half = degrees * Pi / 360.0;
    return {0.0, 0.0, std::sin(half), std::cos(half)};
}

// Two bones over `frames` frames: the first moves as `moving` says at each frame, the second
// never moves.
template <typename Moving>
RetargetedMotion twoBoneMotion(int frames, double frameTime, Moving moving) {
    RetargetedMotion motion;
    motion.frameCount = frames;
    motion.boneCount = 2;
    motion.frameTime = frameTime;
    for (int f = 0; f < frames; ++f) {
        motion.motions.push_back(moving(f));
        motion.motions.push_back(TrsTransform{});
    }
    return motion;
}

// 240 frames at 120 per second: a swing about Z and an even slide along x.
RetargetedMotion swingAndSlide() {
    return twoBoneMotion(240, 1.0 / 120.0, [](int f) {
        TrsTransform moving;
        moving.rotation = turnAboutZ(60.0 * std::sin(0.02 * f) + 5.0 * std::sin(0.1 * f));
        moving.translation = {0.5 * f, 3.0, 0.0};
        return moving;
    });
}

TEST(ReduceKeys, EveryFrameIsReproducedWithinTheTolerancesByTheViewersSampler) {
    const TwoBones bones;
    const RetargetedMotion motion = swingAndSlide();
    const KeyTolerances tolerances = toleranceForHeight(221.0);
    const ReducedAnimation reduced = buildReducedAnimation(motion, bones.list, tolerances);
    ASSERT_EQ(reduced.data->tracks.size(), 1u);
    AnimationTrack track(&reduced.data->tracks.front());
    double worstAngle = 0.0, worstLength = 0.0;
    for (int f = 0; f < motion.frameCount; ++f) {
        const BoneTransform sampled = track.sample(static_cast<float>(f * motion.frameTime));
        const TrsTransform& exact = motion.motion(f, 0);
        const Quaternion4d q{sampled.rotation.x, sampled.rotation.y, sampled.rotation.z,
                             sampled.rotation.w};
        worstAngle =
            std::max(worstAngle, angleBetweenDegrees(normalizedQuaternion(q), exact.rotation));
        worstLength = std::max(
            worstLength, length(difference(toPoint3d(sampled.translation), exact.translation)));
    }
    // Float keys and times add a little to the reduction's own error.
    EXPECT_LE(worstAngle, tolerances.angleDegrees + 0.005);
    EXPECT_LE(worstLength, tolerances.length + 1e-4);
    EXPECT_EQ(reduced.data->header->duration, static_cast<float>(239.0 / 120.0));
}

TEST(ReduceKeys, AStraightSlideKeepsItsEndsAndAStillChannelOneKey) {
    const TwoBones bones;
    const ReducedAnimation reduced =
        buildReducedAnimation(swingAndSlide(), bones.list, toleranceForHeight(221.0));
    const TrackData& track = reduced.data->tracks.front();
    EXPECT_EQ(track.name, "moving");
    EXPECT_EQ(track.channels[0].size(), 2u);
    EXPECT_EQ(track.channels[0].back().time, static_cast<float>(239.0 / 120.0));
    EXPECT_EQ(track.channels[1].size(), 1u);
    EXPECT_EQ(track.channels[1].front().value, 3.0f);
    EXPECT_EQ(track.channels[4].size(), 1u);
    EXPECT_EQ(track.channels[4].front().value, 1.0f);
    // The swing needs keys, but far fewer than one per frame; its channels share them.
    EXPECT_GT(track.channels[9].size(), 4u);
    EXPECT_LT(track.channels[9].size(), 120u);
    EXPECT_EQ(track.channels[9].size(), track.channels[8].size());
    std::size_t kept = 0;
    for (const std::vector<Keyframe>& keys : track.channels) kept += keys.size();
    EXPECT_EQ(reduced.keysAfter, kept);
    EXPECT_EQ(reduced.keysBefore, 240u * ChannelCount);
}

TEST(ReduceKeys, QuaternionSignFlipsBetweenFramesDoNotBecomeKeysOrLongTurns) {
    const TwoBones bones;
    const RetargetedMotion motion = twoBoneMotion(50, 0.01, [](int f) {
        TrsTransform moving;
        moving.rotation = turnAboutZ(1.0 * f);
        if (f % 2 == 1)
            moving.rotation = {-moving.rotation.x, -moving.rotation.y, -moving.rotation.z,
                               -moving.rotation.w};
        return moving;
    });
    const ReducedAnimation reduced =
        buildReducedAnimation(motion, bones.list, toleranceForHeight(221.0));
    const TrackData& track = reduced.data->tracks.front();
    EXPECT_LE(track.channels[9].size(), 3u);
    AnimationTrack sampler(&track);
    const BoneTransform middle = sampler.sample(0.245f);
    const Quaternion4d q{middle.rotation.x, middle.rotation.y, middle.rotation.z,
                         middle.rotation.w};
    EXPECT_NEAR(angleBetweenDegrees(normalizedQuaternion(q), turnAboutZ(24.5)), 0.0, 0.06);
}

TEST(ReduceKeys, ALongSlowCaptureCostsTimeInProportionToItsLength) {
    // 60,000 frames (eight minutes at 120 per second) of a drift interpolation follows
    // exactly: segments are capped, so this takes a blink, not the square of its length.
    const TwoBones bones;
    const RetargetedMotion motion = twoBoneMotion(60000, 1.0 / 120.0, [](int f) {
        TrsTransform moving;
        moving.translation = {1e-3 * f, 0.0, 0.0};
        return moving;
    });
    const ReducedAnimation reduced =
        buildReducedAnimation(motion, bones.list, toleranceForHeight(221.0));
    const std::size_t keys = reduced.data->tracks.front().channels[0].size();
    EXPECT_GE(keys, 60000u / 256u);
    EXPECT_LE(keys, 60000u / 255u + 2u);
}

}  // namespace
}  // namespace vorel
