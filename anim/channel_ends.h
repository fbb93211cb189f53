// ChannelEnds: the time and value of a channel's first and last key, kept beside the track's
// caches so that the two clamp tests every sample starts with read no key.
#pragma once

#include <limits>
#include <vector>

#include "assets/animation_data.h"

namespace vorel {

struct ChannelEnds {
    // NOTE: an empty channel is written as ends at minus infinity holding the neutral value,
    // so that every time (but one that is not a number) clamps to that value.
    static ChannelEnds of(const std::vector<Keyframe>& keys, float neutralValue) {
        if (keys.empty()) {
            constexpr float Never = -std::numeric_limits<float>::infinity();
            return {Never, Never, neutralValue, neutralValue};
        }
        return {keys.front().time, keys.back().time, keys.front().value, keys.back().value};
    }

    float firstTime;
    float lastTime;
    float firstValue;
    float lastValue;
};

}  // namespace vorel
