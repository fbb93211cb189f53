// AnimationTrack: samples the ten channels of one track and assembles the BoneTransform, with
// the rotation brought back to unit length.
#include "anim/animation_track.h"

#include <algorithm>
#include <cstring>

#include "anim/sample_channel.h"

namespace vorel {

namespace {

// What an empty channel contributes: no translation, unit scale, the identity rotation.
constexpr float NeutralValues[ChannelCount] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                               1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// Unit length, except that a zero-length rotation (all four channels 0) becomes the identity
// instead of dividing by zero.
Quaternion unitRotation(const Quaternion& sampled) {
    if (Quaternion::dot(sampled, sampled) == 0.0f) return Quaternion::Identity;
    Quaternion rotation = sampled;
    return rotation.normalize();
}

// Same key times and time tangents, bit for bit: every segment then has the same time
// polynomial, and the key search stops at the same segment for any time.
bool sameTimeline(const std::vector<Keyframe>& a, const std::vector<Keyframe>& b) {
    const auto bitsOf = [](float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&bitsOf](const Keyframe& p, const Keyframe& q) {
                          return bitsOf(p.time) == bitsOf(q.time) &&
                                 bitsOf(p.inTangent.time) == bitsOf(q.inTangent.time) &&
                                 bitsOf(p.outTangent.time) == bitsOf(q.outTangent.time);
                      });
}

bool inTimeOrder(const std::vector<Keyframe>& keys) {
    for (std::size_t k = 1; k < keys.size(); ++k) {
        if (!(keys[k - 1].time <= keys[k].time)) return false;
    }
    return true;
}

}  // namespace

AnimationTrack::AnimationTrack(const TrackData* trackData) : data(trackData) {
    for (std::size_t c = 0; c < ChannelCount; ++c) {
        ends[c] = ChannelEnds::of(data->channels[c], NeutralValues[c]);
        segments[c] = PreparedSegment(caches[c].index, data->channels[c]);
        std::size_t first = 0;
        while (!sameTimeline(data->channels[first], data->channels[c])) ++first;
        timelines[c] = static_cast<std::int32_t>(first);
        keysInOrder[c] = inTimeOrder(data->channels[c]);
    }
}

BoneTransform AnimationTrack::sample(float localTime) {
    float v[ChannelCount];
    SharedCurveSolve solve;
    for (std::size_t c = 0; c < ChannelCount; ++c) v[c] = sampleChannelAt(c, localTime, solve);
    // Fields written directly rather than through the setters, which are calls into the
    // math library; assign without normalising is a plain copy.
    BoneTransform transform;
    transform.translation = Vector3(v[0], v[1], v[2]);
    transform.scale = Vector3(v[3], v[4], v[5]);
    Quaternion sampled;
    sampled.x = v[6];
    sampled.y = v[7];
    sampled.z = v[8];
    sampled.w = v[9];
    transform.rotation = unitRotation(sampled);
    return transform;
}

// The tests in sampleChannel's order; each answer here is the one the search would give.
float AnimationTrack::sampleChannelAt(std::size_t channel, float localTime,
                                      SharedCurveSolve& solve) {
    ChannelCache& cache = caches[channel];
    PreparedSegment& segment = segments[channel];
    // NOTE: with its keys in time order, a time strictly inside the cached segment lies
    // strictly between the first and last key, and a cached value at that time came from
    // this same segment, so the tests below could only answer what the segment does. This is
    // the answer of almost every frame, and it reads nothing but the segment.
    if (keysInOrder[channel] && segment.index == cache.index &&
        segment.containsStrictly(localTime)) {
        return interpolateCachedSegment(channel, localTime, solve);
    }
    const ChannelEnds& end = ends[channel];
    if (end.lastTime <= localTime) return end.lastValue;
    if (localTime <= end.firstTime) return end.firstValue;
    if (localTime == cache.time) return cache.value;
    // Strictly inside the cached segment, the search (forward, as the segment's start key lies
    // before the time) stops at that same segment and interpolates it, whatever the other keys.
    if (segment.index == cache.index && segment.containsStrictly(localTime)) {
        return interpolateCachedSegment(channel, localTime, solve);
    }
    const std::vector<Keyframe>& keys = data->channels[channel];
    const float value = sampleChannel(cache, localTime, keys, NeutralValues[channel]);
    if (segment.index != cache.index) segment = PreparedSegment(cache.index, keys);
    return value;
}

float AnimationTrack::interpolateCachedSegment(std::size_t channel, float localTime,
                                               SharedCurveSolve& solve) {
    ChannelCache& cache = caches[channel];
    cache.value = segments[channel].valueAt(localTime, timelines[channel], solve);
    cache.time = localTime;
    return cache.value;
}

}  // namespace vorel
