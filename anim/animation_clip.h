// AnimationClip: the runtime form of one AnimationData: every track's sampling state in one
// arena of lanes, sampled together at one time, and the table that finds a bone's tracks.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/track_lanes.h"
#include "assets/animation_data.h"

namespace vorel {

// One track of a clip (its index in the animation's tracks) beside the hash of the bone it
// names.
struct TrackMatch {
    std::uint32_t nameHash;
    std::uint32_t track;
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

    // Samples every track at the time; pose() then reads each one's transform.
    void sample(float localTime) { lanes_.sample(localTime); }
    // Track `track` of data->tracks at the last sampled time, its rotation of unit length.
    BoneTransform pose(std::size_t track) const { return lanes_.pose(track); }
    // Every track's sampled values, four tracks to a block.
    const TrackLanes& lanes() const { return lanes_; }
    // What the key search of one channel of a track remembers after the last sample.
    ChannelCache cache(std::size_t track, std::size_t channel) const {
        return lanes_.cache(track, channel);
    }

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
    static std::vector<const TrackData*> tracksOf(const AnimationData& animation);
    std::size_t homeSlotOf(std::uint32_t nameHash) const;

    TrackLanes lanes_;
    // Every track, sorted by name hash and, within one hash, in track order.
    std::vector<TrackMatch> tracksByHash;
    // Open addressing with linear probing over the distinct hashes, at most half full.
    std::vector<HashSlot> hashSlots;
    // hashSlots.size() - 1, the size being a power of two, and 32 minus its exponent.
    std::size_t slotMask = 0;
    int slotShift = 31;
};

}  // namespace vorel
