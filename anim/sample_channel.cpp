// sampleChannel and interpolateSegment: the cached key search of one channel and the value of
// one segment, constant, linear or a cubic Hermite curve in the (time, value) plane, built
// from its keys on the spot.
#include "anim/sample_channel.h"

#include "anim/prepared_segment.h"

namespace vorel {

namespace {

// Records a search result in the cache.
void remember(ChannelCache& cache, int index, float value) {
    cache.index = index;
    cache.value = value;
}

// Segment search upwards from the cached index; keys[index].time <= time.
void searchForward(ChannelCache& cache, float time, const std::vector<Keyframe>& keys) {
    const int last = static_cast<int>(keys.size()) - 1;
    for (int i = cache.index; i < last; ++i) {
        if (keys[i].time == time) return remember(cache, i, keys[i].value);
        if (keys[i + 1].time == time) return remember(cache, i, keys[i + 1].value);
        if (keys[i + 1].time > time) return remember(cache, i, interpolateSegment(i, time, keys));
    }
}

// Segment search downwards from below the cached index; keys[index].time > time.
void searchBackward(ChannelCache& cache, float time, const std::vector<Keyframe>& keys) {
    for (int j = cache.index - 1; j >= 0; --j) {
        if (keys[j].time == time) return remember(cache, j, keys[j].value);
        if (keys[j + 1].time == time) return remember(cache, j, keys[j + 1].value);
        if (keys[j].time < time) return remember(cache, j, interpolateSegment(j, time, keys));
    }
}

}  // namespace

float sampleChannel(ChannelCache& cache, float time, const std::vector<Keyframe>& keys,
                    float neutralValue) {
    if (keys.empty()) return neutralValue;
    if (keys.back().time <= time) return keys.back().value;
    if (time <= keys.front().time) return keys.front().value;
    if (time == cache.time) return cache.value;
    // Two tests, not an else: a key time that is not a number starts neither search.
    const float cachedKeyTime = keys[cache.index].time;
    if (cachedKeyTime <= time) {
        searchForward(cache, time, keys);
    } else if (cachedKeyTime > time) {
        searchBackward(cache, time, keys);
    }
    cache.time = time;
    return cache.value;
}

float interpolateSegment(int i, float time, const std::vector<Keyframe>& keys) {
    return PreparedSegment(i, keys).valueAt(time);
}

}  // namespace vorel
