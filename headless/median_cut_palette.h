// medianCutPalette: chooses at most N colours to stand for the colours of a histogram, so an
// animation's frames can be stored with one small palette.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "headless/colour_histogram.h"

namespace vorel {

using PaletteColour = std::array<std::uint8_t, 3>;

// Splits the colours into boxes, each time the box with the largest squared error at the
// weighted median of its widest-spread channel, and gives each box its weighted mean. A
// histogram with no more than maxColours colours keeps them all; an empty one gives none.
std::vector<PaletteColour> medianCutPalette(std::vector<WeightedColour> colours, int maxColours);

}  // namespace vorel
