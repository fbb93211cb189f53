// GifAnimation: collects the frames of an animation and writes them as one looping GIF, with
// a palette chosen from all of its frames.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "headless/colour_histogram.h"
#include "headless/compressed_frame_store.h"
#include "headless/rgb_image.h"

namespace vorel {

// What a written GIF holds, for the tool's summary line.
struct GifSummary {
    int frames = 0;
    int width = 0;
    int height = 0;
    // The playing time of one loop, in hundredths of a second.
    long totalDelay = 0;
    std::size_t bytes = 0;
    int colours = 0;
    // The largest difference in one channel between a frame and its GIF picture (0 to 255).
    int largestChannelError = 0;
};

class GifAnimation {
  public:
    // Frames share the first one's size; delay is in hundredths of a second, 0 to MaxGifDelay.
    void addFrame(const RgbImage& frame, int delay);
    // Writes the file whole or not at all (a temporary beside it, renamed into place). False,
    // with problem set to "PATH: what is wrong", when there is no frame or it cannot be written.
    bool write(const std::string& path, GifSummary& summary, std::string& problem) const;

  private:
    ColourHistogram histogram_;
    CompressedFrameStore frames_;
    std::vector<int> delays_;
};

}  // namespace vorel
