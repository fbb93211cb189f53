// AnimationTrack: samples one TrackData's ten channels into a BoneTransform, keeping a search
// cache per channel. Not const: sampling updates the caches.
#pragma once

#include <array>

#include "anim/channel_cache.h"
#include "assets/animation_data.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class AnimationTrack {
  public:
    explicit AnimationTrack(const TrackData* trackData);

    BoneTransform sample(float localTime);

    // The keys sampled and the hash of the bone animated; not owned.
    const TrackData* data;
    std::array<ChannelCache, ChannelCount> caches;
};

}  // namespace vorel
