// AnimationClip: one AnimationTrack per TrackData of the animation, in file order, and the
// table that finds the tracks naming a bone.
#include "anim/animation_clip.h"

#include <algorithm>

namespace vorel {

namespace {

bool byHash(const TrackMatch& a, const TrackMatch& b) {
    return a.nameHash < b.nameHash;
}

}  // namespace

AnimationClip::AnimationClip(const AnimationData* animationData) : data(animationData) {
    tracks.reserve(animationData->tracks.size());
    for (const TrackData& track : animationData->tracks) {
        tracks.push_back(std::make_unique<AnimationTrack>(&track));
        tracksByHash.push_back({track.nameHash, tracks.back().get()});
    }
    std::stable_sort(tracksByHash.begin(), tracksByHash.end(), byHash);
}

AnimationClip::~AnimationClip() = default;

TrackRange AnimationClip::tracksNaming(std::uint32_t boneHash) const {
    const TrackMatch key{boneHash, nullptr};
    const auto [first, last] =
        std::equal_range(tracksByHash.begin(), tracksByHash.end(), key, byHash);
    return {tracksByHash.data() + (first - tracksByHash.begin()),
            tracksByHash.data() + (last - tracksByHash.begin())};
}

}  // namespace vorel
