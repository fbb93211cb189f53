// ChannelCache: the last answer of one channel's key search, so a repeated time is free and
// the next search starts from the last segment.
#pragma once

#include <cstdint>

namespace vorel {

struct ChannelCache {
    // Index of the key that starts the segment last used.
    std::int32_t index = 0;
    // Value last returned by a search.
    float value = 0.0f;
    // Query time of that value.
    float time = -1.0f;
};

}  // namespace vorel
