// PreparedSegment: what a segment's interpolation takes from its two keys, done once.
#include "anim/prepared_segment.h"

namespace vorel {

PreparedSegment::PreparedSegment(std::int32_t startIndex, const std::vector<Keyframe>& keys)
    : index(startIndex) {
    if (startIndex < 0 || static_cast<std::size_t>(startIndex) + 1 >= keys.size()) return;
    const Keyframe& start = keys[static_cast<std::size_t>(startIndex)];
    const Keyframe& end = keys[static_cast<std::size_t>(startIndex) + 1];
    const int flagMode = (start.flags >> 1) & 3;
    mode = flagMode == 0 ? Hold : (flagMode == 1 ? Linear : Curve);
    if (mode == Curve) {
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
