// sampleChannel and interpolateSegment: the value of one keyed channel at a time, with the
// cached key search and constant, linear or cubic segments.
#pragma once

#include <vector>

#include "anim/channel_cache.h"
#include "assets/animation_data.h"

namespace vorel {

// An empty channel yields neutralValue (0 for translation, 1 for scale, the identity's
// component for rotation) and leaves the cache alone.
float sampleChannel(ChannelCache& cache, float time, const std::vector<Keyframe>& keys,
                    float neutralValue = 0.0f);
// Value of the segment from key i to key i + 1 at time; reads only those two keys.
float interpolateSegment(int i, float time, const std::vector<Keyframe>& keys);

}  // namespace vorel
