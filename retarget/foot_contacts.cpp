#include "retarget/foot_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorel {

namespace {

// The speeds averaged over a window of about ContactSmoothing seconds centred on each frame,
// in one pass over running sums.
std::vector<double> smoothed(const std::vector<double>& speeds, double frameTime) {
    const auto count = static_cast<std::ptrdiff_t>(speeds.size());
    const auto half = static_cast<std::ptrdiff_t>(std::lround(0.5 * ContactSmoothing / frameTime));
    std::vector<double> sums(speeds.size() + 1, 0.0);
    for (std::size_t f = 0; f < speeds.size(); ++f) sums[f + 1] = sums[f] + speeds[f];
    std::vector<double> out(speeds.size());
    for (std::ptrdiff_t f = 0; f < count; ++f) {
        const std::ptrdiff_t low = std::max<std::ptrdiff_t>(0, f - half);
        const std::ptrdiff_t high = std::min(count, f + half + 1);
        out[static_cast<std::size_t>(f)] =
            (sums[static_cast<std::size_t>(high)] - sums[static_cast<std::size_t>(low)]) /
            static_cast<double>(high - low);
    }
    return out;
}

}  // namespace

std::vector<double> pathSpeeds(const std::vector<Point3d>& path, double frameTime) {
    std::vector<double> speeds(path.size(), 0.0);
    const std::size_t count = path.size();
    for (std::size_t f = 0; f < count && count > 1; ++f) {
        const std::size_t before = f > 0 ? f - 1 : f;
        const std::size_t after = f + 1 < count ? f + 1 : f;
        speeds[f] = length(difference(path[after], path[before])) /
                    (static_cast<double>(after - before) * frameTime);
    }
    return speeds;
}

std::vector<ContactSpan> findContacts(const std::vector<Point3d>& path, double height,
                                      double frameTime) {
    std::vector<ContactSpan> spans;
    if (path.empty()) return spans;
    double lowest = std::numeric_limits<double>::infinity();
    for (const Point3d& p : path) lowest = std::min(lowest, p.y);
    const std::vector<double> speeds = smoothed(pathSpeeds(path, frameTime), frameTime);
    const auto shortest = static_cast<int>(std::ceil(ContactShortest / frameTime - 1e-9));
    const int count = static_cast<int>(path.size());
    for (int f = 0; f < count;) {
        const auto inContact = [&](int at) {
            const auto i = static_cast<std::size_t>(at);
            return path[i].y <= lowest + ContactHeight * height &&
                   speeds[i] <= ContactSpeed * height;
        };
        if (!inContact(f)) {
            ++f;
            continue;
        }
        int last = f;
        while (last + 1 < count && inContact(last + 1)) ++last;
        if (last - f + 1 >= shortest) spans.push_back({f, last});
        f = last + 1;
    }
    return spans;
}

std::string describeSpans(const std::vector<ContactSpan>& spans) {
    if (spans.empty()) return "none";
    std::string text;
    for (const ContactSpan& span : spans) {
        if (!text.empty()) text += ' ';
        text += std::to_string(span.first) + "-" + std::to_string(span.last);
    }
    return text;
}

}  // namespace vorel
