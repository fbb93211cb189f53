// AnimationClip: the runtime form of one AnimationData, one sampled track per TrackData.
#pragma once

#include <memory>
#include <vector>

#include "anim/animation_track.h"
#include "assets/animation_data.h"

namespace vorel {

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
};

}  // namespace vorel
