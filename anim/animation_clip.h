// AnimationClip: the runtime form of one AnimationData, one sampled track per TrackData.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "anim/animation_track.h"
#include "assets/animation_data.h"

namespace vorel {

// One track of a clip beside the hash of the bone it names.
struct TrackMatch {
    std::uint32_t nameHash;
    AnimationTrack* track;
};

// The tracks of a clip that name one bone, in track order.
struct TrackRange {
    const TrackMatch* first;
    const TrackMatch* last;
    const TrackMatch* begin() const { return first; }
    const TrackMatch* end() const { return last; }
};

class AnimationClip {
  public:
    explicit AnimationClip(const AnimationData* animationData);
    virtual ~AnimationClip();
    AnimationClip(const AnimationClip&) = delete;
    AnimationClip& operator=(const AnimationClip&) = delete;

    // The animation this clip was built from; not owned, outlives the clip.
    const AnimationData* data;
    // One per entry of data->tracks, same order.
    std::vector<std::unique_ptr<AnimationTrack>> tracks;

    // The tracks whose name hash is boneHash, in track order: one probe or two in a table
    // made once, instead of a look at every track for every bone in every frame.
    TrackRange tracksNaming(std::uint32_t boneHash) const;

  private:
    // Where the tracks of one name hash lie in tracksByHash; count 0 marks a free slot.
    struct HashSlot {
        std::uint32_t nameHash = 0;
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    void buildHashSlots();
    std::size_t homeSlotOf(std::uint32_t nameHash) const;

    // Every track, sorted by name hash and, within one hash, in track order.
    std::vector<TrackMatch> tracksByHash;
    // Open addressing with linear probing over the distinct hashes, at most half full.
    std::vector<HashSlot> hashSlots;
    // hashSlots.size() - 1, the size being a power of two, and 32 minus its exponent.
    std::size_t slotMask = 0;
    int slotShift = 31;
};

}  // namespace vorel
