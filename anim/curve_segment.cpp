// CurveSegment: the two polynomials of a segment from its keys, and the fallbacks of the solve
// for T(s) = time when the linear guess is not close enough: Newton steps, then a march.
#include "anim/curve_segment.h"

#include <algorithm>
#include <optional>

namespace vorel {

namespace {

// NOTE: bounds the march on extremely long segments (over a thousand time units), where the
// step count would not fit an int or would stall the frame.
constexpr int MaxMarchSteps = 1 << 20;

// Walks T(s) in steps of about MarchTolerance by forward differences; the first step within
// MarchTolerance of time gives s. Nothing when none does.
std::optional<float> marchToTime(const CurveSegment& curve, float time) {
    const float stepCount = (curve.tb - curve.ta) / MarchTolerance;
    const int steps = stepCount >= 1.0f
                          ? static_cast<int>(std::min(stepCount, static_cast<float>(MaxMarchSteps)))
                          : 0;
    if (steps == 0) return std::nullopt;
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
    return std::nullopt;
}

}  // namespace

CurveSegment CurveSegment::between(const Keyframe& start, const Keyframe& end) {
    CurveSegment curve;
    curve.ta = start.time;
    curve.tb = end.time;
    curve.va = start.value;
    curve.ma = -start.outTangent.time;
    curve.na = -start.outTangent.value;
    curve.aT = 2.0f * curve.ta - 2.0f * curve.tb + curve.ma - end.inTangent.time;
    curve.bT = 3.0f * curve.tb - 3.0f * curve.ta - 2.0f * curve.ma + end.inTangent.time;
    curve.aV = 2.0f * curve.va - 2.0f * end.value + curve.na - end.inTangent.value;
    curve.bV = 3.0f * end.value - 3.0f * curve.va - 2.0f * curve.na + end.inTangent.value;
    return curve;
}

CurveParameter refineCurveParameter(const CurveSegment& curve, float time, float s, float error) {
    float size = std::fabs(error);
    for (;;) {
        const float stepped = s + error / curve.timeSlopeAt(s);
        const float steppedError = time - curve.timeAt(stepped);
        const float steppedSize = std::fabs(steppedError);
        // An error that stays level (or is not a number) would repeat the step forever: it
        // ends the iteration just like one that grows.
        if (!(steppedSize < size)) {
            if (steppedSize <= MarchTolerance) return CurveParameter{stepped};
            if (const std::optional<float> marched = marchToTime(curve, time)) {
                return CurveParameter{*marched};
            }
            // NOTE: a step across a flat spot of T(s) can land where V is infinite; the value
            // then stays at the last point Newton reached with a finite value.
            return CurveParameter{stepped, s, true};
        }
        s = stepped;
        error = steppedError;
        size = steppedSize;
        if (size <= NewtonTolerance) return CurveParameter{s};
    }
}

}  // namespace vorel
