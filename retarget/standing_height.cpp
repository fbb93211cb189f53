#include "retarget/standing_height.h"

#include <algorithm>
#include <limits>

namespace vorel {

namespace {

// The share of frames at or below the value taken as "standing".
constexpr double StandingPercentile = 0.9;

template <typename PerFrame>
double highPercentile(const SourceMotion& source, PerFrame perFrame) {
    std::vector<double> values(static_cast<std::size_t>(std::max(source.frameCount, 0)));
    for (int f = 0; f < source.frameCount; ++f) values[static_cast<std::size_t>(f)] = perFrame(f);
    if (values.empty()) return 0.0;
    const auto at =
        values.begin() +
        static_cast<std::ptrdiff_t>(StandingPercentile * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

}  // namespace

double standingHeight(const SourceMotion& source, int root, const std::vector<int>& feet) {
    return highPercentile(source, [&](int f) {
        double lowest = std::numeric_limits<double>::infinity();
        for (int joint : feet) lowest = std::min(lowest, source.world(f, joint).translation.y);
        return source.world(f, root).translation.y - lowest;
    });
}

double figureHeight(const SourceMotion& source) {
    return highPercentile(source, [&](int f) {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (std::size_t j = 0; j < source.jointCount(); ++j) {
            const double y = source.world(f, static_cast<int>(j)).translation.y;
            low = std::min(low, y), high = std::max(high, y);
        }
        return high - low;
    });
}

}  // namespace vorel
