// medianCutPalette: box splitting by squared error, on the histogram's occupied bins.
#include "headless/median_cut_palette.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vorel {

namespace {

using ColourIterator = std::vector<WeightedColour>::iterator;

// A run of the colour list: the colours one palette entry will stand for.
struct Box {
    ColourIterator begin;
    ColourIterator end;
    double mean[3];
    // Count-weighted variance of each channel, times the count: the box's squared error.
    double spread[3];
    double squaredError;
};

Box measureBox(ColourIterator begin, ColourIterator end) {
    Box box{begin, end, {0, 0, 0}, {0, 0, 0}, 0.0};
    double total = 0.0;
    for (auto colour = begin; colour != end; ++colour) {
        total += static_cast<double>(colour->count);
        for (int channel = 0; channel < 3; ++channel) {
            box.mean[channel] += static_cast<double>(colour->count) * colour->channels[channel];
        }
    }
    for (double& channelMean : box.mean) {
        channelMean /= total;
    }
    for (auto colour = begin; colour != end; ++colour) {
        for (int channel = 0; channel < 3; ++channel) {
            const double offset = colour->channels[channel] - box.mean[channel];
            box.spread[channel] += static_cast<double>(colour->count) * offset * offset;
        }
    }
    box.squaredError = box.spread[0] + box.spread[1] + box.spread[2];
    return box;
}

int widestChannel(const Box& box) {
    return static_cast<int>(std::max_element(box.spread, box.spread + 3) - box.spread);
}

// Sorts the box along its widest channel and cuts it where half its pixels lie on each side,
// keeping at least one colour on each.
std::vector<Box> splitBox(const Box& box) {
    const int channel = widestChannel(box);
    std::sort(box.begin, box.end, [channel](const WeightedColour& a, const WeightedColour& b) {
        return a.channels[channel] < b.channels[channel];
    });
    double total = 0.0;
    for (auto colour = box.begin; colour != box.end; ++colour) {
        total += static_cast<double>(colour->count);
    }
    double below = 0.0;
    auto cut = box.begin + 1;
    for (auto colour = box.begin; colour + 1 != box.end; ++colour) {
        below += static_cast<double>(colour->count);
        cut = colour + 1;
        if (below >= total / 2) {
            break;
        }
    }
    return {measureBox(box.begin, cut), measureBox(cut, box.end)};
}

PaletteColour roundedMean(const Box& box) {
    PaletteColour colour;
    for (int channel = 0; channel < 3; ++channel) {
        colour[static_cast<std::size_t>(channel)] =
            static_cast<std::uint8_t>(std::lround(std::clamp(box.mean[channel], 0.0, 255.0)));
    }
    return colour;
}

}  // namespace

std::vector<PaletteColour> medianCutPalette(std::vector<WeightedColour> colours, int maxColours) {
    std::vector<PaletteColour> palette;
    if (colours.empty() || maxColours < 1) {
        return palette;
    }
    std::vector<Box> boxes{measureBox(colours.begin(), colours.end())};
    while (static_cast<int>(boxes.size()) < maxColours) {
        const auto worst = std::max_element(
            boxes.begin(), boxes.end(),
            [](const Box& a, const Box& b) { return a.squaredError < b.squaredError; });
        // No error left means every box holds one colour.
        if (worst->squaredError <= 0.0) {
            break;
        }
        const std::vector<Box> halves = splitBox(*worst);
        *worst = halves[0];
        boxes.push_back(halves[1]);
    }
    for (const Box& box : boxes) {
        palette.push_back(roundedMean(box));
    }
    return palette;
}

}  // namespace vorel
