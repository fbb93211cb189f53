// RgbImage: a picture as 8-bit RGB triples, rows from the top down, as the PNG files hold it.
#pragma once

#include <cstdint>
#include <vector>

namespace vorel {

struct RgbImage {
    int width = 0;
    int height = 0;
    // width * height * 3 bytes.
    std::vector<std::uint8_t> pixels;
};

}  // namespace vorel
