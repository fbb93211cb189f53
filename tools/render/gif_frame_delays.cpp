// gifFrameDelays: start times rounded to hundredths, and their differences.
#include "tools/render/gif_frame_delays.h"

#include <cstddef>

namespace vorel {

namespace {

long long startTime(int frame, int firstFrame, int framesPerSecond) {
    const long long elapsed = 100LL * (frame - firstFrame);
    return (2 * elapsed + framesPerSecond) / (2LL * framesPerSecond);
}

}  // namespace

std::vector<int> gifFrameDelays(const FrameSelection& frames, int framesPerSecond) {
    std::vector<int> selected;
    for (int frame = 1; frame <= frames.last(); ++frame) {
        if (frames.contains(frame)) {
            selected.push_back(frame);
        }
    }
    if (selected.empty()) {
        return {};
    }
    const std::size_t count = selected.size();
    const int lastStep = count > 1 ? selected[count - 1] - selected[count - 2] : 1;
    selected.push_back(selected.back() + lastStep);
    std::vector<int> delays;
    for (std::size_t index = 0; index < count; ++index) {
        delays.push_back(
            static_cast<int>(startTime(selected[index + 1], selected[0], framesPerSecond) -
                             startTime(selected[index], selected[0], framesPerSecond)));
    }
    return delays;
}

}  // namespace vorel
