// SharedCurveSolve: the curve solve of one sample time, shared by the channels of a track
// that are keyed on one timeline (the usual case: a pose keys every channel of a bone at once).
// Channels with the same key times and time tangents have, segment for segment, the same time
// polynomial, and the solve for T(s) = time reads nothing else, so one solve answers them all
// with exactly the bits each would have found on its own.
#pragma once

#include <cstdint>

#include "anim/curve_segment.h"

namespace vorel {

class SharedCurveSolve {
  public:
    // The parameter where T(s) = time on the curve of segment `index` of timeline `timeline`
    // (channels with one timeline share it; -1 shares with none); span is tb - ta. Only ever
    // asked for one time.
    CurveParameter parameterFor(std::int32_t timeline, std::int32_t index,
                                const CurveSegment& curve, float time, float span) {
        // NOTE: channels of one timeline settle on the same segment for any time; comparing
        // the index as well keeps the sharing correct without relying on that.
        if (timeline < 0 || timeline != timeline_ || index != index_) {
            timeline_ = timeline;
            index_ = index;
            parameter_ = solveCurveTime(curve, time, (time - curve.ta) / span);
        }
        return parameter_;
    }

  private:
    std::int32_t timeline_ = -1;
    std::int32_t index_ = -1;
    CurveParameter parameter_;
};

}  // namespace vorel
