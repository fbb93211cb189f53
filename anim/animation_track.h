// AnimationTrack: one TrackData on its own, sampled into a BoneTransform through the same
// lanes a clip samples its tracks in. Not const: sampling updates the key search's caches.
#pragma once

#include <cstddef>

#include "anim/channel_cache.h"
#include "anim/track_lanes.h"
#include "assets/animation_data.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class AnimationTrack {
  public:
    explicit AnimationTrack(const TrackData* trackData);

    // The ten channels at the time, the rotation brought back to unit length (a zero-length
    // one becomes the identity).
    BoneTransform sample(float localTime);
    // What one channel's key search remembers after the last sample.
    ChannelCache cache(std::size_t channel) const { return lanes_.cache(0, channel); }

    // The keys sampled and the hash of the bone animated; not owned; must not change while
    // the track lives (the track keeps copies of what it reads every frame).
    const TrackData* data;

  private:
    TrackLanes lanes_;
};

}  // namespace vorel
