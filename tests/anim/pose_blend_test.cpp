// PoseBlend against the blend bone by bone: for every bone, the records in playing order and,
// within one, the tracks naming it in track order, each sampled on a clip of its own and
// folded with Quaternion::multiply; the same bits, whether the clips' tracks line up with the
// bones or not (permuted, naming no bone or several, one bone named twice).
#include "anim/pose_blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "math/hash_name.h"
#include "tests/support/float_bits.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

using test_support::makeKey;

using test_support::bitsOf;

std::string boneName(int bone) {
    return "bone" + std::to_string(bone);
}

// Tracks for the named bones, in the given order, each channel three keys of random values.
std::unique_ptr<AnimationData> makeDanceFor(const std::vector<int>& bones, std::mt19937& random) {
    std::uniform_real_distribution<float> value(-2.0f, 2.0f);
    std::vector<TrackData> tracks;
    for (const int bone : bones) {
        TrackData track;
        track.name = boneName(bone);
        track.nameHash = hashName(track.name);
        for (std::vector<Keyframe>& channel : track.channels) {
            for (int k = 0; k < 3; ++k) channel.push_back(makeKey(0.5f * k, value(random)));
        }
        tracks.push_back(std::move(track));
    }
    return test_support::makeAnimation(1.0f, std::move(tracks));
}

// The clips' tracks: the bones in order, shuffled, with bones missing and names no bone has,
// one bone named twice, or in order with a name no bone has and the last bone missing.
std::vector<int> pickTracks(int boneCount, int kind, std::mt19937& random) {
    std::vector<int> bones;
    for (int bone = 0; bone < boneCount; ++bone) bones.push_back(bone);
    if (kind == 1) std::shuffle(bones.begin(), bones.end(), random);
    if (kind == 2) {
        bones.erase(bones.begin() + boneCount / 2);
        bones.push_back(boneCount + 7);
        bones.insert(bones.begin(), boneCount + 3);
    }
    if (kind == 3) bones.push_back(bones[bones.size() / 3]);
    if (kind == 4) {
        // In order but short, one track renamed: its lane and the lanes past the last track
        // stand where other clips' tracks name bones.
        bones[bones.size() / 2] = boneCount + 5;
        if (bones.size() > 1) bones.pop_back();
    }
    return bones;
}

BoneTransform foldedByHand(std::uint32_t boneHash, const std::vector<AnimationClip*>& played,
                           const std::vector<float>& times) {
    BoneTransform blend;
    for (std::size_t r = 0; r < played.size(); ++r) {
        if (played[r] == nullptr) continue;
        AnimationClip& clip = *played[r];
        clip.sample(times[r]);
        for (std::size_t t = 0; t < clip.data->tracks.size(); ++t) {
            if (clip.data->tracks[t].nameHash != boneHash) continue;
            const BoneTransform sample = clip.pose(t);
            blend.translation = Vector3(blend.translation.x + sample.translation.x,
                                        blend.translation.y + sample.translation.y,
                                        blend.translation.z + sample.translation.z);
            blend.scale = Vector3(blend.scale.x * sample.scale.x, blend.scale.y * sample.scale.y,
                                  blend.scale.z * sample.scale.z);
            blend.rotation = blend.rotation.multiply(sample.rotation);
        }
    }
    return blend;
}

void expectSameBits(const BoneTransform& expected, const BoneTransform& blended, int bone) {
    const float want[10] = {expected.translation.x, expected.translation.y, expected.translation.z,
                            expected.scale.x,       expected.scale.y,       expected.scale.z,
                            expected.rotation.x,    expected.rotation.y,    expected.rotation.z,
                            expected.rotation.w};
    const float got[10] = {blended.translation.x, blended.translation.y, blended.translation.z,
                           blended.scale.x,       blended.scale.y,       blended.scale.z,
                           blended.rotation.x,    blended.rotation.y,    blended.rotation.z,
                           blended.rotation.w};
    for (int f = 0; f < 10; ++f) {
        ASSERT_EQ(bitsOf(want[f]), bitsOf(got[f])) << "bone " << bone << " field " << f;
    }
}

TEST(PoseBlend, FoldsEveryTrackAsTheBlendBoneByBoneDoes) {
    constexpr int Clips = 5;
    std::mt19937 random(29);
    for (int trial = 0; trial < 80; ++trial) {
        const int boneCount = 1 + trial % 11;
        std::vector<std::uint32_t> boneHashes;
        for (int bone = 0; bone < boneCount; ++bone) boneHashes.push_back(hashName(boneName(bone)));
        // Clips of every kind, the first kind varying so that each may place the slots.
        std::vector<std::unique_ptr<AnimationData>> dances;
        std::vector<std::unique_ptr<AnimationClip>> clips;
        std::vector<std::unique_ptr<AnimationClip>> ownClips;
        for (int c = 0; c < Clips; ++c) {
            dances.push_back(
                makeDanceFor(pickTracks(boneCount, (trial + c) % Clips, random), random));
            clips.push_back(std::make_unique<AnimationClip>(dances.back().get()));
            ownClips.push_back(std::make_unique<AnimationClip>(dances.back().get()));
        }
        const auto stranger = makeDanceFor({0, 1}, random);
        AnimationClip strangerClip(stranger.get());
        PoseBlend blend(boneHashes, clips);
        // Records of every clip, some twice, and one whose clip the blend does not know.
        std::list<ActiveAnimation> playing;
        std::vector<AnimationClip*> played;
        std::vector<float> times;
        std::uniform_int_distribution<int> pick(0, Clips);
        std::uniform_real_distribution<float> time(-0.2f, 1.2f);
        for (int r = 0; r < 8; ++r) {
            const int which = pick(random);
            playing.emplace_back("record", 0.0f);
            playing.back().clip = which < Clips ? clips[which].get() : &strangerClip;
            playing.back().localTime = time(random);
            played.push_back(which < Clips ? ownClips[which].get() : nullptr);
            times.push_back(playing.back().localTime);
        }
        const std::vector<BoneTransform>& blends = blend.blend(playing);
        ASSERT_EQ(static_cast<std::size_t>(boneCount), blends.size());
        for (int bone = 0; bone < boneCount; ++bone) {
            expectSameBits(foldedByHand(boneHashes[bone], played, times), blends[bone], bone);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace vorel
