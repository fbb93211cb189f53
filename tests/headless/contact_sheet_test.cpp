// The contact sheet: half-size tiles in reading order on white, and the 2x2 averaging.
#include "headless/contact_sheet.h"

#include <gtest/gtest.h>

#include "tests/headless/filled_image.h"

namespace vorel {
namespace {

using test_support::filledImage;

std::uint8_t red(const RgbImage& image, int x, int y) {
    return image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
}

TEST(HalveImage, AveragesEachTwoByTwoBlockAndDropsAnOddEdge) {
    RgbImage image = filledImage(5, 3, 0);
    // Block (0,0): red values 0, 10, 20, 31 average to 15.25, rounded to 15.
    image.pixels[(0 * 5 + 1) * 3] = 10;
    image.pixels[(1 * 5 + 0) * 3] = 20;
    image.pixels[(1 * 5 + 1) * 3] = 31;
    const RgbImage half = halveImage(image);
    EXPECT_EQ(half.width, 2);
    EXPECT_EQ(half.height, 1);
    EXPECT_EQ(half.pixels.size(), 2u * 1 * 3);
    EXPECT_EQ(red(half, 0, 0), 15);
    EXPECT_EQ(red(half, 1, 0), 0);
}

TEST(ContactSheet, TilesInReadingOrderAndLeavesUnusedTilesWhite) {
    const std::vector<RgbImage> frames = {filledImage(8, 6, 10), filledImage(8, 6, 20),
                                          filledImage(8, 6, 30)};
    const RgbImage sheet = tileContactSheet(frames, 2);
    EXPECT_EQ(sheet.width, 8);
    EXPECT_EQ(sheet.height, 6);
    EXPECT_EQ(red(sheet, 0, 0), 10);
    EXPECT_EQ(red(sheet, 7, 2), 20);
    EXPECT_EQ(red(sheet, 0, 3), 30);
    EXPECT_EQ(red(sheet, 3, 5), 30);
    EXPECT_EQ(red(sheet, 4, 3), 255);
    EXPECT_EQ(red(sheet, 7, 5), 255);
}

TEST(ContactSheet, UsesNoMoreColumnsThanFrames) {
    const RgbImage sheet = tileContactSheet({filledImage(4, 4, 1), filledImage(4, 4, 2)}, 8);
    EXPECT_EQ(sheet.width, 4);
    EXPECT_EQ(sheet.height, 2);
    EXPECT_TRUE(tileContactSheet({}, 4).pixels.empty());
}

}  // namespace
}  // namespace vorel
