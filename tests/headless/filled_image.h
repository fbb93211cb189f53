// A picture of one grey level, for the tests of the picture files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "headless/rgb_image.h"

namespace vorel::test_support {

inline RgbImage filledImage(int width, int height, std::uint8_t value) {
    return RgbImage{width, height,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3, value)};
}

}  // namespace vorel::test_support
