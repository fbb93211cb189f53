// AnimationTrack: samples one TrackData's ten channels into a BoneTransform, keeping a search
// cache per channel. Not const: sampling updates the caches.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "anim/channel_cache.h"
#include "anim/channel_ends.h"
#include "anim/prepared_segment.h"
#include "assets/animation_data.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class AnimationTrack {
  public:
    explicit AnimationTrack(const TrackData* trackData);

    BoneTransform sample(float localTime);

    // The keys sampled and the hash of the bone animated; not owned; must not change while
    // the track lives (the track keeps copies of what it reads every frame).
    const TrackData* data;
    std::array<ChannelCache, ChannelCount> caches;

  private:
    // sampleChannel on one channel, answered from the copies below whenever that gives the
    // same result: a clamp to an end key, or a time inside the cached segment.
    float sampleChannelAt(std::size_t channel, float localTime, SharedCurveSolve& solve);
    // The cached segment's value at a time strictly inside it, remembered in the cache.
    float interpolateCachedSegment(std::size_t channel, float localTime, SharedCurveSolve& solve);

    // Per channel, the first and last key.
    std::array<ChannelEnds, ChannelCount> ends;
    // Per channel, the segment that starts at caches[c].index, ready to evaluate; rebuilt
    // whenever a search moves the cache to another segment.
    std::array<PreparedSegment, ChannelCount> segments;
    // Per channel, the first channel keyed at exactly the same times with the same time
    // tangents: channels of one timeline share their curve solves.
    std::array<std::int32_t, ChannelCount> timelines;
    // Per channel, whether every key's time is at least the one before (no NaN either).
    std::array<bool, ChannelCount> keysInOrder;
};

}  // namespace vorel
