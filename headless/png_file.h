// writePng: saves an RgbImage as an 8-bit RGB PNG file through libpng.
#pragma once

#include <string>

#include "headless/rgb_image.h"

namespace vorel {

// False, with problem set, when the file cannot be written completely; the file at path is
// then as it was (absent or the old picture), never partly written.
bool writePng(const RgbImage& image, const std::string& path, std::string& problem);

}  // namespace vorel
