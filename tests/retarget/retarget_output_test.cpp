// What a retarget hands on: the set it writes (every target animation kept, the new one added
// or replacing a name) and the check that the figure stays in the fixed picture.
#include <gtest/gtest.h>

#include "math/hash_name.h"
#include "retarget/retargeted_set.h"
#include "retarget/view_check.h"
#include "tests/dancer/default_set_fixture.h"

namespace vorel {
namespace {

std::unique_ptr<AnimationData> pelvisCarriedAway(float from, float to, float duration) {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = duration;
    TrackData track;
    track.name = "pelvis";
    track.nameHash = hashName(track.name);
    for (int c = 0; c < ChannelCount; ++c) {
        Keyframe key;
        key.value = c >= 3 && c != 6 && c != 7 && c != 8 ? 1.0f : 0.0f;
        key.flags = keyFlags(SegmentMode::Constant, false);
        track.channels[static_cast<std::size_t>(c)] = {key};
    }
    // The pelvis's rest frame has +Y pointing forward (its up point), so its y carries her
    // towards the camera.
    Keyframe start;
    start.value = from;
    start.flags = keyFlags(SegmentMode::Linear, false);
    Keyframe end = start;
    end.time = duration;
    end.value = to;
    end.flags = keyFlags(SegmentMode::Constant, false);
    track.channels[1] = {start, end};
    animation->tracks.push_back(std::move(track));
    animation->header->trackCount = 1;
    return animation;
}

TEST(RetargetedSet, KeepsEveryTargetAnimationAndAddsTheNewOne) {
    const AssetLibrary& target = *defaultSet().library;
    const auto added = pelvisCarriedAway(0.0f, 0.0f, 1.0f);
    const SetToWrite set = setWithAnimation(target, *added, "Moonwalk");
    ASSERT_EQ(set.entries.size(), target.animations.size() + 1);
    EXPECT_EQ(set.entries.back().name, "Moonwalk");
    EXPECT_EQ(set.animations[set.entries.back().animation].data, added.get());
    EXPECT_EQ(set.animations[set.entries.back().animation].fileName, "Moonwalk.anim");
    for (std::size_t a = 0; a < target.animations.size(); ++a) {
        EXPECT_EQ(set.entries[a].name, target.animationNames[a]);
        EXPECT_EQ(set.animations[set.entries[a].animation].data, target.animations[a].get());
    }
    EXPECT_EQ(set.model, target.models.front().get());
}

TEST(RetargetedSet, ADanceNameMakesThatDancesKeyPlayTheNewAnimation) {
    const AssetLibrary& target = *defaultSet().library;
    const auto added = pelvisCarriedAway(0.0f, 0.0f, 1.0f);
    const SetToWrite set = setWithAnimation(target, *added, "Strut");
    ASSERT_EQ(set.entries.size(), target.animations.size());
    std::size_t playingNew = 0;
    for (const SetManifestEntry& entry : set.entries) {
        const bool isNew = set.animations[entry.animation].data == added.get();
        EXPECT_EQ(isNew, entry.name == "Strut");
        playingNew += isNew ? 1 : 0;
    }
    EXPECT_EQ(playingNew, 1u);
}

TEST(AnimationFileNames, NamesSharingAStemStillGetTheirOwnFiles) {
    const std::vector<std::string> files = animationFileNames({"a b", "a_b", "a_b_1", "a?b"});
    EXPECT_EQ(files,
              (std::vector<std::string>{"a_b.anim", "a_b_1.anim", "a_b_1_2.anim", "a_b_3.anim"}));
}

TEST(FirstFrameOutOfView, NamesTheFirstFrameAtWhichAVertexLeavesThePicture) {
    const ModelData& dancer = *defaultSet().library->models.front();
    // Carried 100 units towards the camera over 100 frames: she stays in sight at first only.
    const auto towards = pelvisCarriedAway(0.0f, 100.0f, 1.0f);
    const int first = firstFrameOutOfView(dancer, *towards, 101, 0.01);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 100);
    const auto staying = pelvisCarriedAway(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(firstFrameOutOfView(dancer, *staying, 101, 0.01), -1);
}

}  // namespace
}  // namespace vorel
