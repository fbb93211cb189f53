// tileContactSheet and halveImage: the contact sheet made for a README or a quick look.
#include "headless/contact_sheet.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace vorel {

namespace {

std::size_t pixelOffset(const RgbImage& image, int x, int y) {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
            static_cast<std::size_t>(x)) *
           3;
}

void copyInto(RgbImage& target, const RgbImage& tile, int left, int top) {
    const std::size_t rowBytes = static_cast<std::size_t>(tile.width) * 3;
    for (int y = 0; y < tile.height; ++y) {
        std::memcpy(&target.pixels[pixelOffset(target, left, top + y)],
                    &tile.pixels[pixelOffset(tile, 0, y)], rowBytes);
    }
}

}  // namespace

RgbImage halveImage(const RgbImage& image) {
    RgbImage half;
    half.width = image.width / 2;
    half.height = image.height / 2;
    half.pixels.resize(static_cast<std::size_t>(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (std::size_t channel = 0; channel < 3; ++channel) {
                const int sum = image.pixels[pixelOffset(image, 2 * x, 2 * y) + channel] +
                                image.pixels[pixelOffset(image, 2 * x + 1, 2 * y) + channel] +
                                image.pixels[pixelOffset(image, 2 * x, 2 * y + 1) + channel] +
                                image.pixels[pixelOffset(image, 2 * x + 1, 2 * y + 1) + channel];
                half.pixels[pixelOffset(half, x, y) + channel] =
                    static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return half;
}

RgbImage tileContactSheet(const std::vector<RgbImage>& frames, int columns) {
    RgbImage sheet;
    if (frames.empty()) {
        return sheet;
    }
    const int count = static_cast<int>(frames.size());
    const int usedColumns = std::min(columns, count);
    const int rows = (count + usedColumns - 1) / usedColumns;
    const int tileWidth = frames.front().width / 2;
    const int tileHeight = frames.front().height / 2;
    sheet.width = tileWidth * usedColumns;
    sheet.height = tileHeight * rows;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height * 3, 255);
    for (int i = 0; i < count; ++i) {
        copyInto(sheet, halveImage(frames[static_cast<std::size_t>(i)]),
                 (i % usedColumns) * tileWidth, (i / usedColumns) * tileHeight);
    }
    return sheet;
}

}  // namespace vorel
