// ColourHistogram: how often each colour appears over many pictures, the input from which an
// animation's palette is chosen.
#pragma once

#include <cstdint>
#include <vector>

#include "headless/rgb_image.h"

namespace vorel {

// A colour and the number of pixels it stands for.
struct WeightedColour {
    double channels[3];
    std::uint64_t count;
};

class ColourHistogram {
  public:
    // Bins of 6 bits per channel: fixed memory (8 MB) however many pictures are added, and
    // neighbouring shades only 4 levels apart kept apart.
    static constexpr int BitsPerChannel = 6;

    void add(const RgbImage& image);
    // The mean colour of each bin any pixel fell into, weighted by its pixels.
    std::vector<WeightedColour> occupiedBins() const;

  private:
    struct Bin {
        std::uint64_t count = 0;
        std::uint64_t sums[3] = {0, 0, 0};
    };
    std::vector<Bin> bins_;
};

}  // namespace vorel
