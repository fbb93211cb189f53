// AnimationTrack and AnimationClip: the ten channels assembled into a BoneTransform, the
// rotation brought to unit length, and one track per TrackData.
#include "anim/animation_track.h"

#include <gtest/gtest.h>

#include "anim/animation_clip.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

using test_support::makeAnimation;
using test_support::makeKey;
using test_support::makePoseTrack;

TrackData makeRotationTrack(float x, float y, float z, float w) {
    Quaternion rotation;
    rotation.set(x, y, z, w);
    return makePoseTrack("bone", Vector3(1.0f, 2.0f, 3.0f), Vector3(4.0f, 5.0f, 6.0f), rotation);
}

TEST(AnimationTrackSample, ChannelsFillTranslationScaleAndRotation) {
    const TrackData data = makeRotationTrack(0.0f, 0.0f, 0.6f, 0.8f);
    AnimationTrack track(&data);
    const BoneTransform transform = track.sample(0.3f);
    EXPECT_EQ(Vector3(1.0f, 2.0f, 3.0f), transform.translation);
    EXPECT_EQ(Vector3(4.0f, 5.0f, 6.0f), transform.scale);
    EXPECT_FLOAT_EQ(0.6f, transform.rotation.z);
    EXPECT_FLOAT_EQ(0.8f, transform.rotation.w);
}

TEST(AnimationTrackSample, RotationIsNormalisedAfterSampling) {
    const TrackData data = makeRotationTrack(0.0f, 0.0f, 2.0f, 0.0f);
    AnimationTrack track(&data);
    const Quaternion rotation = track.sample(0.0f).rotation;
    EXPECT_EQ(0.0f, rotation.x);
    EXPECT_EQ(0.0f, rotation.y);
    EXPECT_EQ(1.0f, rotation.z);
    EXPECT_EQ(0.0f, rotation.w);
}

TEST(AnimationTrackSample, ZeroLengthRotationBecomesTheIdentity) {
    const TrackData data = makeRotationTrack(0.0f, 0.0f, 0.0f, 0.0f);
    AnimationTrack track(&data);
    EXPECT_EQ(Quaternion::Identity, track.sample(0.0f).rotation);
}

TEST(AnimationTrackSample, EmptyChannelsGiveTheNeutralComponents) {
    TrackData data;
    data.channels[1].push_back(makeKey(0.0f, 7.0f));
    AnimationTrack track(&data);
    const BoneTransform transform = track.sample(0.5f);
    EXPECT_EQ(Vector3(0.0f, 7.0f, 0.0f), transform.translation);
    EXPECT_EQ(Vector3(1.0f, 1.0f, 1.0f), transform.scale);
    EXPECT_EQ(Quaternion::Identity, transform.rotation);
}

TEST(AnimationTrackSample, EachChannelKeepsItsOwnCache) {
    TrackData data = makeRotationTrack(0.0f, 0.0f, 0.0f, 1.0f);
    data.channels[0] = {makeKey(0.0f, 0.0f), makeKey(1.0f, 1.0f), makeKey(2.0f, 2.0f)};
    data.channels[2] = {makeKey(0.0f, 0.0f), makeKey(10.0f, 100.0f), makeKey(20.0f, 200.0f)};
    AnimationTrack track(&data);
    const BoneTransform transform = track.sample(1.5f);
    EXPECT_FLOAT_EQ(1.5f, transform.translation.x);
    EXPECT_FLOAT_EQ(15.0f, transform.translation.z);
    EXPECT_EQ(1, track.cache(0).index);
    EXPECT_EQ(0, track.cache(2).index);
    EXPECT_EQ(-1.0f, track.cache(1).time);
}

TEST(AnimationClipBuild, OneTrackPerTrackDataInOrder) {
    std::vector<TrackData> tracks;
    tracks.push_back(makeRotationTrack(0.0f, 0.0f, 0.0f, 1.0f));
    tracks.push_back(makePoseTrack("other", Vector3(), Vector3(1.0f, 1.0f, 1.0f), Quaternion()));
    const auto animation = makeAnimation(2.0f, std::move(tracks));
    AnimationClip clip(animation.get());
    EXPECT_EQ(animation.get(), clip.data);
    clip.sample(0.5f);
    EXPECT_EQ(Vector3(1.0f, 2.0f, 3.0f), clip.pose(0).translation);
    EXPECT_EQ(Vector3(4.0f, 5.0f, 6.0f), clip.pose(0).scale);
    EXPECT_EQ(Vector3(), clip.pose(1).translation);
    EXPECT_EQ(Vector3(1.0f, 1.0f, 1.0f), clip.pose(1).scale);
}

}  // namespace
}  // namespace vorel
