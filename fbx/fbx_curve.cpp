// One binary search for the segment, then its interpolation.
#include "fbx/fbx_curve.h"

#include <algorithm>

namespace vorel {

double evaluateFbxCurve(const FbxCurve& curve, std::int64_t time) {
    const std::vector<std::int64_t>& times = curve.times;
    if (time <= times.front()) return curve.values.front();
    if (time >= times.back()) return curve.values.back();
    const std::size_t next = static_cast<std::size_t>(
        std::upper_bound(times.begin(), times.end(), time) - times.begin());
    const std::size_t key = next - 1;
    const double p0 = curve.values[key];
    const double p1 = curve.values[next];
    const double span = static_cast<double>(times[next] - times[key]);
    const double s = static_cast<double>(time - times[key]) / span;
    switch (curve.interpolation[key]) {
        case FbxInterpolation::Constant:
            return p0;
        case FbxInterpolation::Linear:
            return p0 + (p1 - p0) * s;
        case FbxInterpolation::Cubic: {
            const double seconds = span / FbxTicksPerSecond;
            const double s2 = s * s;
            const double s3 = s2 * s;
            return (2 * s3 - 3 * s2 + 1) * p0 +
                   (s3 - 2 * s2 + s) * seconds * curve.rightSlope[key] + (-2 * s3 + 3 * s2) * p1 +
                   (s3 - s2) * seconds * curve.nextLeftSlope[key];
        }
    }
    return p0;
}

}  // namespace vorel
