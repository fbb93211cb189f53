// GifAnimation: the palette by median cut over every frame's colours, each frame mapped to
// its nearest entries without dithering, then encoded and written in one piece.
#include "headless/gif_animation.h"

#include <numeric>

#include "assets/file_bytes.h"
#include "headless/gif_encoder.h"
#include "headless/median_cut_palette.h"
#include "headless/palette_lookup.h"

namespace vorel {

namespace {

// One index of the 256 stays free to mark the pixels a frame leaves unchanged.
constexpr int MaxPaletteColours = 255;

}  // namespace

void GifAnimation::addFrame(const RgbImage& frame, int delay) {
    frames_.add(frame);
    histogram_.add(frame);
    delays_.push_back(delay);
}

bool GifAnimation::write(const std::string& path, GifSummary& summary, std::string& problem) const {
    if (frames_.size() == 0) {
        problem = path + ": an animation needs at least one frame";
        return false;
    }
    const std::vector<PaletteColour> palette =
        medianCutPalette(histogram_.occupiedBins(), MaxPaletteColours);
    PaletteLookup lookup(palette);
    const RgbImage first = frames_.frame(0);
    GifEncoder encoder(first.width, first.height, palette);
    for (std::size_t index = 0; index < frames_.size(); ++index) {
        encoder.addFrame(lookup.indexImage(frames_.frame(index)), delays_[index]);
    }
    std::string bytes;
    if (!encoder.finish(bytes, problem)) {
        problem = path + ": " + problem;
        return false;
    }
    if (!writeFileBytes(path, bytes)) {
        problem = path + ": cannot be written";
        return false;
    }
    summary = GifSummary{static_cast<int>(frames_.size()),
                         first.width,
                         first.height,
                         std::accumulate(delays_.begin(), delays_.end(), 0L),
                         bytes.size(),
                         static_cast<int>(palette.size()),
                         lookup.largestChannelError()};
    return true;
}

}  // namespace vorel
