// AnimationClip: the lanes of every track of the animation, in file order, and the table that
// finds the tracks naming a bone.
#include "anim/animation_clip.h"

#include <algorithm>

namespace vorel {

namespace {

bool byHash(const TrackMatch& a, const TrackMatch& b) {
    return a.nameHash < b.nameHash;
}

}  // namespace

AnimationClip::AnimationClip(const AnimationData* animationData)
    : data(animationData), lanes_(tracksOf(*animationData)) {
    const std::vector<TrackData>& tracks = animationData->tracks;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        tracksByHash.push_back({tracks[t].nameHash, static_cast<std::uint32_t>(t)});
    }
    std::stable_sort(tracksByHash.begin(), tracksByHash.end(), byHash);
    buildHashSlots();
}

std::vector<const TrackData*> AnimationClip::tracksOf(const AnimationData& animation) {
    std::vector<const TrackData*> tracks;
    for (const TrackData& track : animation.tracks) tracks.push_back(&track);
    return tracks;
}

void AnimationClip::buildHashSlots() {
    std::size_t size = 2;
    slotShift = 31;
    while (size < 2 * tracksByHash.size()) {
        size *= 2;
        --slotShift;
    }
    hashSlots.assign(size, HashSlot{});
    slotMask = size - 1;
    for (std::size_t i = 0; i < tracksByHash.size();) {
        std::size_t end = i + 1;
        while (end < tracksByHash.size() &&
               tracksByHash[end].nameHash == tracksByHash[i].nameHash) {
            ++end;
        }
        std::size_t slot = homeSlotOf(tracksByHash[i].nameHash);
        while (hashSlots[slot].count != 0) slot = (slot + 1) & slotMask;
        hashSlots[slot] = {tracksByHash[i].nameHash, static_cast<std::uint32_t>(i),
                           static_cast<std::uint32_t>(end - i)};
        i = end;
    }
}

// Fibonacci hashing: the top bits of the product spread hashes that differ only in their
// low bits, as the names of one skeleton often do.
std::size_t AnimationClip::homeSlotOf(std::uint32_t nameHash) const {
    return static_cast<std::size_t>(static_cast<std::uint32_t>(nameHash * 2654435769u) >>
                                    slotShift);
}

AnimationClip::~AnimationClip() = default;

TrackRange AnimationClip::tracksNaming(std::uint32_t boneHash) const {
    for (std::size_t slot = homeSlotOf(boneHash);; slot = (slot + 1) & slotMask) {
        const HashSlot& entry = hashSlots[slot];
        if (entry.count == 0) return {tracksByHash.data(), tracksByHash.data()};
        if (entry.nameHash == boneHash) {
            const TrackMatch* first = tracksByHash.data() + entry.first;
            return {first, first + entry.count};
        }
    }
}

}  // namespace vorel
