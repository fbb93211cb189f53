// PaletteLookup: the palette index that stands for an RGB colour, the nearest entry, looked up
// once per distinct colour.
#pragma once

#include <cstdint>
#include <vector>

#include "headless/median_cut_palette.h"

namespace vorel {

class PaletteLookup {
  public:
    // The palette holds 1 to 256 colours.
    explicit PaletteLookup(std::vector<PaletteColour> palette);

    // The index of the entry nearest in squared RGB distance; the lower index on a tie.
    std::uint8_t indexOf(const std::uint8_t* rgb);
    // Every pixel of the image, as indices.
    std::vector<std::uint8_t> indexImage(const RgbImage& image);
    // The largest difference in any one channel between a colour looked up so far and the
    // entry it was given: how far the picture strays from the frames (0 to 255).
    int largestChannelError() const { return largestChannelError_; }

  private:
    std::uint8_t nearest(const std::uint8_t* rgb) const;

    std::vector<PaletteColour> palette_;
    // Indexed by the 24-bit colour: a fixed 18 MB, whatever colours the frames bring.
    std::vector<std::uint8_t> cachedIndex_;
    std::vector<bool> cached_;
    int largestChannelError_ = 0;
};

}  // namespace vorel
