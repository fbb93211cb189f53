// tileContactSheet: lays several frames out in a grid, each at half size, on white.
#pragma once

#include <vector>

#include "headless/rgb_image.h"

namespace vorel {

// Frames in reading order, left to right and top down; all frames share the first's size.
RgbImage tileContactSheet(const std::vector<RgbImage>& frames, int columns);
// Each output pixel is the mean of a 2x2 block; an odd last row or column is dropped.
RgbImage halveImage(const RgbImage& image);

}  // namespace vorel
