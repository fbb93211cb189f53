// PreparedSegment: what a segment's interpolation takes from its two keys, done once.
#include "anim/prepared_segment.h"

namespace vorel {

PreparedSegment::PreparedSegment(std::int32_t startIndex, const std::vector<Keyframe>& keys)
    : index(startIndex) {
    if (startIndex < 0 || static_cast<std::size_t>(startIndex) + 1 >= keys.size()) return;
    const Keyframe& start = keys[static_cast<std::size_t>(startIndex)];
    const Keyframe& end = keys[static_cast<std::size_t>(startIndex) + 1];
    // Any mode other than constant and linear interpolates along the curve.
    mode = segmentMode(start);
    if (mode != SegmentMode::Constant && mode != SegmentMode::Linear) mode = SegmentMode::Curve;
    if (mode == SegmentMode::Curve) {
        curve = CurveSegment::between(start, end);
    } else {
        curve.ta = start.time;
        curve.tb = end.time;
        curve.va = start.value;
    }
    span = end.time - start.time;
    rise = end.value - start.value;
}

}  // namespace vorel
