#include "retarget/flat_feet.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/pi.h"

namespace vorel {

namespace {

double degrees(double radians) {
    return radians * 180.0 / Pi;
}

// The slope of the line from a to b below the horizontal, in degrees.
double slopeDegrees(double drop, double span) {
    return span > 0.0 ? degrees(std::asin(std::clamp(drop / span, -1.0, 1.0))) : 0.0;
}

double lowestHeight(const std::vector<Point3d>& path) {
    double lowest = std::numeric_limits<double>::infinity();
    for (const Point3d& p : path) lowest = std::min(lowest, p.y);
    return lowest;
}

}  // namespace

std::vector<ContactSpan> findFlatSpans(const std::vector<Point3d>& ankle,
                                       const std::vector<Point3d>& toe,
                                       const std::vector<ContactSpan>& contacts, double frameTime) {
    std::vector<ContactSpan> spans;
    if (ankle.empty() || ankle.size() != toe.size()) return spans;
    const double floorDrop = lowestHeight(ankle) - lowestHeight(toe);
    const auto shortest = static_cast<int>(std::ceil(ContactShortest / frameTime - 1e-9));
    const auto flat = [&](int frame) {
        const auto f = static_cast<std::size_t>(frame);
        const double span = length(difference(toe[f], ankle[f]));
        const double slope = slopeDegrees(ankle[f].y - toe[f].y, span);
        return std::fabs(slope - slopeDegrees(floorDrop, span)) <= FlatToleranceDegrees;
    };
    for (const ContactSpan& contact : contacts) {
        for (int f = contact.first; f <= contact.last;) {
            if (!flat(f)) {
                ++f;
                continue;
            }
            int last = f;
            while (last < contact.last && flat(last + 1)) ++last;
            if (last - f + 1 >= shortest) spans.push_back({f, last});
            f = last + 1;
        }
    }
    return spans;
}

Quaternion4d headingOf(const Quaternion4d& turn) {
    const double size = std::hypot(turn.y, turn.w);
    if (size < 1e-9) return turn;
    return {0.0, turn.y / size, 0.0, turn.w / size};
}

}  // namespace vorel
