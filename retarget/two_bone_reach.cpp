// With d the hip-to-goal distance, the law of cosines gives the angle at the hip between the
// goal's direction u and the thigh: cos a = (thigh^2 + d^2 - shin^2) / (2 thigh d). The knee
// is at hip + thigh (cos a u + sin a p), p the unit bend direction square to u: the present
// knee's offset from the hip-to-goal line, with a small share of the foot's forward direction
// so that a leg held straight still bends its knee over the toes.
#include "retarget/two_bone_reach.h"

#include <algorithm>
#include <cmath>

namespace vorel {

namespace {

constexpr double FullReach = 0.9995;
constexpr double ForwardShare = 0.05;

Point3d squareTo(const Point3d& v, const Point3d& unit) {
    return difference(v, scaled(unit, dot(v, unit)));
}

}  // namespace

double longestReach(double thigh, double shin) {
    return FullReach * (thigh + shin);
}

Point3d twoBoneKnee(const LegReach& reach) {
    const Point3d toGoal = difference(reach.goal, reach.hip);
    const double distance = length(toGoal);
    if (!(distance > 0.0)) return reach.knee;
    const Point3d u = scaled(toGoal, 1.0 / distance);
    const double d = std::clamp(distance, std::fabs(reach.thigh - reach.shin) * (2.0 - FullReach),
                                longestReach(reach.thigh, reach.shin));
    const Point3d bend = sum(squareTo(difference(reach.knee, reach.hip), u),
                             scaled(squareTo(reach.forward, u), ForwardShare * reach.thigh));
    const double bendLength = length(bend);
    if (!(bendLength > 0.0)) return sum(reach.hip, scaled(u, reach.thigh));
    const Point3d p = scaled(bend, 1.0 / bendLength);
    const double cosine = std::clamp(
        (reach.thigh * reach.thigh + d * d - reach.shin * reach.shin) / (2.0 * reach.thigh * d),
        -1.0, 1.0);
    const double sine = std::sqrt(1.0 - cosine * cosine);
    return sum(reach.hip, scaled(sum(scaled(u, cosine), scaled(p, sine)), reach.thigh));
}

}  // namespace vorel
