// PaletteLookup: nearest-colour search behind a table over all 24-bit colours.
#include "headless/palette_lookup.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <utility>

namespace vorel {

namespace {

constexpr std::size_t ColourCount = std::size_t{1} << 24;

std::size_t packed(const std::uint8_t* rgb) {
    return (static_cast<std::size_t>(rgb[0]) << 16) | (static_cast<std::size_t>(rgb[1]) << 8) |
           rgb[2];
}

int squaredDistance(const std::uint8_t* rgb, const PaletteColour& entry) {
    int sum = 0;
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const int offset = rgb[channel] - entry[channel];
        sum += offset * offset;
    }
    return sum;
}

}  // namespace

PaletteLookup::PaletteLookup(std::vector<PaletteColour> palette)
    : palette_(std::move(palette)), cachedIndex_(ColourCount), cached_(ColourCount) {}

std::uint8_t PaletteLookup::indexOf(const std::uint8_t* rgb) {
    const std::size_t key = packed(rgb);
    if (!cached_[key]) {
        cachedIndex_[key] = nearest(rgb);
        cached_[key] = true;
        const PaletteColour& entry = palette_[cachedIndex_[key]];
        for (std::size_t channel = 0; channel < 3; ++channel) {
            largestChannelError_ =
                std::max(largestChannelError_, std::abs(rgb[channel] - entry[channel]));
        }
    }
    return cachedIndex_[key];
}

std::vector<std::uint8_t> PaletteLookup::indexImage(const RgbImage& image) {
    std::vector<std::uint8_t> indices(image.pixels.size() / 3);
    for (std::size_t pixel = 0; pixel < indices.size(); ++pixel) {
        indices[pixel] = indexOf(&image.pixels[3 * pixel]);
    }
    return indices;
}

std::uint8_t PaletteLookup::nearest(const std::uint8_t* rgb) const {
    std::size_t best = 0;
    int bestDistance = squaredDistance(rgb, palette_[0]);
    for (std::size_t entry = 1; entry < palette_.size(); ++entry) {
        const int distance = squaredDistance(rgb, palette_[entry]);
        if (distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace vorel
