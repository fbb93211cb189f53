// PreparedSegment: the segment that starts at one key of a channel, with everything its value
// needs from the two keys worked out once (the mode, the spans, the curve's polynomials), so
// that a time inside it costs only the evaluation, with the same float operations in the
// same order as an interpolation built from the keys on the spot.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "anim/curve_segment.h"
#include "assets/animation_data.h"

namespace vorel {

struct PreparedSegment {
    // A segment that contains no time, for an index no segment starts at.
    PreparedSegment() = default;
    // The segment from keys[startIndex] to keys[startIndex + 1]; reads only those two keys,
    // and none when startIndex + 1 is not a key.
    PreparedSegment(std::int32_t startIndex, const std::vector<Keyframe>& keys);

    // Strictly between the two key times: a time where the cached search settles on this
    // segment and interpolates (at a key's own time it answers with the key's value instead).
    bool containsStrictly(float time) const { return curve.ta < time && time < curve.tb; }
    // The segment's value at a time inside it.
    float valueAt(float time) const {
        if (mode == SegmentMode::Constant) return curve.va;
        const float s = (time - curve.ta) / span;
        if (mode == SegmentMode::Linear) return curve.va + s * rise;
        return curve.valueAt(solveCurveTime(curve, time, s));
    }

    // The key the segment starts at; -1 when there is no segment.
    std::int32_t index = -1;
    SegmentMode mode = SegmentMode::Constant;
    // Key times (ta, tb) and start value (va) in every mode, the polynomials in curve mode
    // only. Without a segment the times are not numbers, so that no time lies inside.
    CurveSegment curve = noSegment();
    // End time minus start time, and end value minus start value.
    float span = 0.0f;
    float rise = 0.0f;

  private:
    static CurveSegment noSegment() {
        CurveSegment none;
        none.ta = none.tb = none.va = std::numeric_limits<float>::quiet_NaN();
        return none;
    }
};

}  // namespace vorel
