// Choosing an animation's palette: the histogram's bins and means, median cut keeping few
// colours exactly and spreading many without visible steps, and the nearest-entry lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "headless/colour_histogram.h"
#include "headless/median_cut_palette.h"
#include "headless/palette_lookup.h"

namespace vorel {
namespace {

RgbImage imageOf(const std::vector<PaletteColour>& pixels) {
    RgbImage image{static_cast<int>(pixels.size()), 1, {}};
    for (const PaletteColour& pixel : pixels) {
        image.pixels.insert(image.pixels.end(), pixel.begin(), pixel.end());
    }
    return image;
}

// Every grey from black to white, and the same ramp in the blue of the figure's shadows.
RgbImage greyAndBlueRamps() {
    std::vector<PaletteColour> pixels;
    for (int level = 0; level < 256; ++level) {
        const auto value = static_cast<std::uint8_t>(level);
        pixels.push_back({value, value, value});
        pixels.push_back({static_cast<std::uint8_t>(level / 2),
                          static_cast<std::uint8_t>(level * 3 / 4), value});
    }
    return imageOf(pixels);
}

TEST(ColourHistogram, CountsPixelsAndKeepsTheExactMeanOfEachBin) {
    ColourHistogram histogram;
    // 10 and 11 share a 6-bit bin (both 2 after dropping two bits); 200 does not.
    histogram.add(imageOf({{10, 0, 0}, {11, 0, 0}, {200, 0, 0}}));
    histogram.add(imageOf({{10, 0, 0}}));
    std::vector<WeightedColour> bins = histogram.occupiedBins();
    ASSERT_EQ(bins.size(), 2u);
    std::sort(bins.begin(), bins.end(), [](const WeightedColour& a, const WeightedColour& b) {
        return a.channels[0] < b.channels[0];
    });
    EXPECT_EQ(bins[0].count, 3u);
    EXPECT_DOUBLE_EQ(bins[0].channels[0], 31.0 / 3.0);
    EXPECT_EQ(bins[1].count, 1u);
    EXPECT_DOUBLE_EQ(bins[1].channels[0], 200.0);
}

TEST(MedianCutPalette, KeepsEveryColourWhenThereAreFewEnough) {
    ColourHistogram histogram;
    histogram.add(imageOf({{255, 255, 255}, {40, 60, 200}, {128, 128, 128}, {255, 255, 255}}));
    const std::vector<PaletteColour> palette = medianCutPalette(histogram.occupiedBins(), 255);
    const std::set<PaletteColour> colours(palette.begin(), palette.end());
    EXPECT_EQ(colours, (std::set<PaletteColour>{{255, 255, 255}, {40, 60, 200}, {128, 128, 128}}));
    EXPECT_TRUE(medianCutPalette({}, 255).empty());
}

TEST(MedianCutPalette, SpreadsManyColoursOverTheLimitWithSmallSteps) {
    ColourHistogram histogram;
    histogram.add(greyAndBlueRamps());
    const std::vector<PaletteColour> palette = medianCutPalette(histogram.occupiedBins(), 64);
    EXPECT_EQ(palette.size(), 64u);
    PaletteLookup lookup(palette);
    lookup.indexImage(greyAndBlueRamps());
    // 512 colours in 64 entries: steps of about 8 levels, so no colour is more than 4 to 6
    // away from its entry. A box left unsplit would show as a band of 16 or more.
    EXPECT_LE(lookup.largestChannelError(), 6);
}

TEST(PaletteLookup, GivesTheNearestEntryTheLowerOnATieAndTracksTheLargestError) {
    PaletteLookup lookup({{0, 0, 0}, {100, 100, 100}, {200, 0, 0}});
    const std::uint8_t darkGrey[] = {40, 40, 40};
    const std::uint8_t halfway[] = {50, 50, 50};
    const std::uint8_t reddish[] = {190, 10, 5};
    EXPECT_EQ(lookup.indexOf(darkGrey), 0);
    EXPECT_EQ(lookup.indexOf(halfway), 0);
    EXPECT_EQ(lookup.indexOf(reddish), 2);
    EXPECT_EQ(lookup.largestChannelError(), 50);
    const std::vector<std::uint8_t> indices =
        lookup.indexImage(imageOf({{200, 0, 0}, {99, 101, 100}, {1, 1, 1}}));
    EXPECT_EQ(indices, (std::vector<std::uint8_t>{2, 1, 0}));
}

}  // namespace
}  // namespace vorel
