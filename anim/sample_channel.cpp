// sampleChannel and interpolateSegment: the cached key search of one channel and the value of
// one segment, constant, linear or a cubic Hermite curve in the (time, value) plane.
#include "anim/sample_channel.h"

#include <algorithm>
#include <cmath>

namespace vorel {

namespace {

// Within this distance of the query time a curve point is taken as the answer.
constexpr float NewtonTolerance = 0.0001f;
// The float just below 0.001: the acceptance bound after Newton gives up, and the time step of
// the march along the curve.
constexpr float MarchTolerance = 0.0009999999f;
// NOTE: bounds the march on extremely long segments (over a thousand time units), where the
// step count would not fit an int or would stall the frame.
constexpr int MaxMarchSteps = 1 << 20;

// a + s * (b + s * (c + s * d)): the form both curve polynomials are evaluated in.
float cubicAt(float s, float a, float b, float c, float d) {
    return a + s * (b + s * (c + s * d));
}

// One Hermite segment: T(s) = ta + s (ma + s (bT + s aT)), V(s) likewise with va, na, bV, aV.
struct CurveSegment {
    CurveSegment(const Keyframe& start, const Keyframe& end)
        : ta(start.time),
          tb(end.time),
          va(start.value),
          ma(-start.outTangent.time),
          na(-start.outTangent.value),
          aT(2.0f * ta - 2.0f * tb + ma - end.inTangent.time),
          bT(3.0f * tb - 3.0f * ta - 2.0f * ma + end.inTangent.time),
          aV(2.0f * va - 2.0f * end.value + na - end.inTangent.value),
          bV(3.0f * end.value - 3.0f * va - 2.0f * na + end.inTangent.value) {}

    float timeAt(float s) const { return cubicAt(s, ta, ma, bT, aT); }
    float valueAt(float s) const { return cubicAt(s, va, na, bV, aV); }
    float timeSlopeAt(float s) const { return s * (3.0f * aT * s + 2.0f * bT) + ma; }

    float ta, tb, va, ma, na, aT, bT, aV, bV;
};

// Walks T(s) in steps of about MarchTolerance by forward differences; the first step within
// MarchTolerance of time gives s. fallback is returned when none does.
float marchToTime(const CurveSegment& curve, float time, float fallback) {
    const float stepCount = (curve.tb - curve.ta) / MarchTolerance;
    const int steps = stepCount >= 1.0f
                          ? static_cast<int>(std::min(stepCount, static_cast<float>(MaxMarchSteps)))
                          : 0;
    if (steps == 0) return fallback;
    const float h = 1.0f / static_cast<float>(steps);
    const float h2 = h * h;
    const float h3 = h2 * h;
    float t = curve.ta;
    float d1 = curve.aT * h3 + curve.bT * h2 + curve.ma * h;
    float d2 = 2.0f * curve.bT * h2 + 6.0f * curve.aT * h3;
    const float d3 = 6.0f * curve.aT * h3;
    for (int k = 1; k <= steps; ++k) {
        t = t + d1;
        d1 = d1 + d2;
        d2 = d2 + d3;
        if (std::fabs(time - t) <= MarchTolerance) return static_cast<float>(k) * h;
    }
    return fallback;
}

// Solves T(s) = time by Newton's method from the linear guess, then, if the error stops
// shrinking while still too large, by marching along the curve.
float curveValue(const CurveSegment& curve, float time) {
    float s = (time - curve.ta) / (curve.tb - curve.ta);
    float error = time - curve.timeAt(s);
    float size = std::fabs(error);
    if (size <= NewtonTolerance) return curve.valueAt(s);
    for (;;) {
        const float stepped = s + error / curve.timeSlopeAt(s);
        const float steppedError = time - curve.timeAt(stepped);
        const float steppedSize = std::fabs(steppedError);
        // An error that stays level (or is not a number) would repeat the step forever: it
        // ends the iteration just like one that grows.
        if (!(steppedSize < size)) {
            if (steppedSize <= MarchTolerance) return curve.valueAt(stepped);
            // NOTE: a step across a flat spot of T(s) can land where V is infinite; the march's
            // fallback then stays at the last point Newton reached with a finite value.
            const float fallback = std::isfinite(curve.valueAt(stepped)) ? stepped : s;
            return curve.valueAt(marchToTime(curve, time, fallback));
        }
        s = stepped;
        error = steppedError;
        size = steppedSize;
        if (size <= NewtonTolerance) return curve.valueAt(s);
    }
}

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
    const Keyframe& start = keys[i];
    const Keyframe& end = keys[i + 1];
    const SegmentMode mode = segmentMode(start);
    if (mode == SegmentMode::Constant) return start.value;
    if (mode == SegmentMode::Linear) {
        return start.value +
               (time - start.time) / (end.time - start.time) * (end.value - start.value);
    }
    return curveValue(CurveSegment(start, end), time);
}

}  // namespace vorel
