// ColourHistogram: counting pixels into bins, with the exact sums that give each bin's mean.
#include "headless/colour_histogram.h"

#include <cstddef>

namespace vorel {

namespace {

constexpr int DroppedBits = 8 - ColourHistogram::BitsPerChannel;
constexpr std::size_t BinCount = std::size_t{1} << (3 * ColourHistogram::BitsPerChannel);

std::size_t binOf(const std::uint8_t* pixel) {
    constexpr int bits = ColourHistogram::BitsPerChannel;
    return (static_cast<std::size_t>(pixel[0] >> DroppedBits) << (2 * bits)) |
           (static_cast<std::size_t>(pixel[1] >> DroppedBits) << bits) |
           static_cast<std::size_t>(pixel[2] >> DroppedBits);
}

}  // namespace

void ColourHistogram::add(const RgbImage& image) {
    if (bins_.empty()) {
        bins_.resize(BinCount);
    }
    for (std::size_t at = 0; at + 3 <= image.pixels.size(); at += 3) {
        const std::uint8_t* pixel = &image.pixels[at];
        Bin& bin = bins_[binOf(pixel)];
        ++bin.count;
        for (int channel = 0; channel < 3; ++channel) {
            bin.sums[channel] += pixel[channel];
        }
    }
}

std::vector<WeightedColour> ColourHistogram::occupiedBins() const {
    std::vector<WeightedColour> colours;
    for (const Bin& bin : bins_) {
        if (bin.count == 0) {
            continue;
        }
        const double count = static_cast<double>(bin.count);
        colours.push_back(WeightedColour{
            {static_cast<double>(bin.sums[0]) / count, static_cast<double>(bin.sums[1]) / count,
             static_cast<double>(bin.sums[2]) / count},
            bin.count});
    }
    return colours;
}

}  // namespace vorel
