// CurveSegment: one cubic Hermite segment of a channel in the (time, value) plane, built from
// its two keys, and the solve of its time polynomial for a query time. Shared by the fresh
// interpolation of a segment and by the segments a track keeps prepared between frames.
#pragma once

#include <cmath>

#include "assets/animation_data.h"

namespace vorel {

// Within this distance of the query time a curve point is taken as the answer.
constexpr float NewtonTolerance = 0.0001f;
// The float just below 0.001: the acceptance bound after Newton gives up, and the time step of
// the march along the curve.
constexpr float MarchTolerance = 0.0009999999f;

// Where T(s) = time lies on a curve. Normally just s; when neither Newton's method nor the
// march reached the time, s is Newton's last step and, where the value there is not finite,
// the point before it is used instead. Found from the time polynomial alone, so channels that
// share one (keyed at the same times, with the same time tangents) share the solve.
struct CurveParameter {
    float s = 0.0f;
    float fallback = 0.0f;
    bool fallBackWhereNotFinite = false;
};

// T(s) = ta + s (ma + s (bT + s aT)), V(s) likewise with va, na, bV, aV; s runs from 0 to 1.
struct CurveSegment {
    // The segment from start to end; the tangents are stored negated, so they are turned back.
    static CurveSegment between(const Keyframe& start, const Keyframe& end);

    float timeAt(float s) const { return ta + s * (ma + s * (bT + s * aT)); }
    float valueAt(float s) const { return va + s * (na + s * (bV + s * aV)); }
    float valueAt(const CurveParameter& parameter) const {
        const float value = valueAt(parameter.s);
        if (parameter.fallBackWhereNotFinite && !std::isfinite(value)) {
            return valueAt(parameter.fallback);
        }
        return value;
    }
    float timeSlopeAt(float s) const { return s * (3.0f * aT * s + 2.0f * bT) + ma; }

    float ta = 0.0f;
    float tb = 0.0f;
    float va = 0.0f;
    float ma = 0.0f;
    float na = 0.0f;
    float aT = 0.0f;
    float bT = 0.0f;
    float aV = 0.0f;
    float bV = 0.0f;
};

// Newton's method and the march, for when the guess s missed time by error (above tolerance).
CurveParameter refineCurveParameter(const CurveSegment& curve, float time, float s, float error);

// The s where T(s) = time, solved from the linear guess s = (time - ta) / (tb - ta). Inline up
// to the first test: most segments meet the tolerance with the guess itself.
inline CurveParameter solveCurveTime(const CurveSegment& curve, float time, float guess) {
    const float error = time - curve.timeAt(guess);
    if (std::fabs(error) <= NewtonTolerance) return CurveParameter{guess};
    return refineCurveParameter(curve, time, guess, error);
}

}  // namespace vorel
