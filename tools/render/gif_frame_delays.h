// gifFrameDelays: how long each selected frame shows in a GIF so that the GIF plays the
// viewer's frames at a given rate, gaps in the selection included.
#pragma once

#include <vector>

#include "tools/common/frame_selection.h"

namespace vorel {

// In hundredths of a second, one per selected frame in order. Viewer frame N starts at
// (N - first) * 100 / fps hundredths, rounded, so rounding never adds up over a long GIF
// (at 30 fps: 3, 4, 3, 3, 4, 3, ...). The last frame lasts as long as the step before it,
// one viewer frame when it is alone, so a regular selection loops evenly.
std::vector<int> gifFrameDelays(const FrameSelection& frames, int framesPerSecond);

}  // namespace vorel
