// Animated GIFs as a viewer decodes them (through giflib's reader): every frame, its delay,
// the endless loop, only changed rectangles stored, colours within the palette's error, and
// a file that cannot be written leaving nothing behind.
#include "headless/gif_animation.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "headless/compressed_frame_store.h"
#include "headless/median_cut_palette.h"
#include "tests/headless/filled_image.h"

namespace vorel {
namespace {

using test_support::filledImage;

struct DecodedFrame {
    // The whole picture once this frame is drawn over the ones before it.
    RgbImage picture;
    int delay = 0;
    int storedWidth = 0;
    int storedHeight = 0;
};

struct DecodedGif {
    bool loopsForever = false;
    std::vector<DecodedFrame> frames;
};

bool isEndlessLoop(const SavedImage& image) {
    for (int block = 0; block + 1 < image.ExtensionBlockCount; ++block) {
        const ExtensionBlock& name = image.ExtensionBlocks[block];
        const ExtensionBlock& data = image.ExtensionBlocks[block + 1];
        if (name.Function == APPLICATION_EXT_FUNC_CODE && name.ByteCount == 11 &&
            std::memcmp(name.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 &&
            data.Bytes[0] == 1 && data.Bytes[1] == 0 && data.Bytes[2] == 0) {
            return true;
        }
    }
    return false;
}

// Draws a frame's stored rectangle over the canvas, skipping its transparent pixels.
void drawOver(RgbImage& canvas, const SavedImage& image, const ColorMapObject& colours,
              int transparent) {
    const GifImageDesc& area = image.ImageDesc;
    for (int y = 0; y < area.Height; ++y) {
        for (int x = 0; x < area.Width; ++x) {
            const int index = image.RasterBits[y * area.Width + x];
            if (index == transparent) continue;
            const GifColorType colour = colours.Colors[index];
            const std::size_t at =
                (static_cast<std::size_t>(area.Top + y) * canvas.width + area.Left + x) * 3;
            canvas.pixels[at] = colour.Red;
            canvas.pixels[at + 1] = colour.Green;
            canvas.pixels[at + 2] = colour.Blue;
        }
    }
}

DecodedGif decode(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) throw std::runtime_error("cannot open " + path);
    if (DGifSlurp(gif) != GIF_OK || gif->SColorMap == nullptr) {
        DGifCloseFile(gif, &error);
        throw std::runtime_error("cannot decode " + path);
    }
    DecodedGif decoded;
    decoded.loopsForever = gif->ImageCount > 0 && isEndlessLoop(gif->SavedImages[0]);
    RgbImage canvas{gif->SWidth, gif->SHeight,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(gif->SWidth) *
                                              static_cast<std::size_t>(gif->SHeight) * 3)};
    for (int frame = 0; frame < gif->ImageCount; ++frame) {
        GraphicsControlBlock timing{};
        DGifSavedExtensionToGCB(gif, frame, &timing);
        const SavedImage& image = gif->SavedImages[frame];
        drawOver(canvas, image, *gif->SColorMap, timing.TransparentColor);
        decoded.frames.push_back(
            {canvas, timing.DelayTime, image.ImageDesc.Width, image.ImageDesc.Height});
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

void paint(RgbImage& image, int x, int y, PaletteColour colour) {
    std::copy(colour.begin(), colour.end(),
              image.pixels.begin() + (static_cast<std::ptrdiff_t>(y) * image.width + x) * 3);
}

// A picture of more colours than a palette holds: red across, green down, blue both ways.
RgbImage gradient(int width, int height, int shift) {
    RgbImage image = filledImage(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            paint(image, x, y,
                  {static_cast<std::uint8_t>(x * 255 / (width - 1)),
                   static_cast<std::uint8_t>(y * 255 / (height - 1)),
                   static_cast<std::uint8_t>((x + y + shift) % 256)});
        }
    }
    return image;
}

int largestChannelDifference(const RgbImage& a, const RgbImage& b) {
    int largest = 0;
    for (std::size_t at = 0; at < a.pixels.size(); ++at) {
        largest = std::max(largest, std::abs(a.pixels[at] - b.pixels[at]));
    }
    return largest;
}

class GifAnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vorel-gif-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST_F(GifAnimationTest, PlaysEveryFrameWithItsDelayAndLoopsForever) {
    RgbImage first = filledImage(6, 4, 255);
    paint(first, 1, 1, {40, 60, 200});
    RgbImage moved = first;
    paint(moved, 4, 2, {128, 128, 128});
    paint(moved, 3, 3, {128, 128, 128});
    GifAnimation animation;
    animation.addFrame(first, 2);
    animation.addFrame(first, 3);
    animation.addFrame(moved, 7);
    const std::string path = (folder / "three.gif").string();
    GifSummary summary;
    std::string problem;
    ASSERT_TRUE(animation.write(path, summary, problem)) << problem;

    const DecodedGif decoded = decode(path);
    EXPECT_TRUE(decoded.loopsForever);
    ASSERT_EQ(decoded.frames.size(), 3u);
    EXPECT_EQ(decoded.frames[0].delay, 2);
    EXPECT_EQ(decoded.frames[1].delay, 3);
    EXPECT_EQ(decoded.frames[2].delay, 7);
    // Three colours fit the palette: every frame comes back exactly.
    EXPECT_EQ(decoded.frames[0].picture.pixels, first.pixels);
    EXPECT_EQ(decoded.frames[1].picture.pixels, first.pixels);
    EXPECT_EQ(decoded.frames[2].picture.pixels, moved.pixels);
    // A repeated frame stores one pixel; a change, only the rectangle around it.
    EXPECT_EQ(decoded.frames[0].storedWidth * decoded.frames[0].storedHeight, 6 * 4);
    EXPECT_EQ(decoded.frames[1].storedWidth * decoded.frames[1].storedHeight, 1);
    EXPECT_EQ(decoded.frames[2].storedWidth, 2);
    EXPECT_EQ(decoded.frames[2].storedHeight, 2);

    EXPECT_EQ(summary.frames, 3);
    EXPECT_EQ(summary.width, 6);
    EXPECT_EQ(summary.height, 4);
    EXPECT_EQ(summary.totalDelay, 12);
    EXPECT_EQ(summary.bytes, std::filesystem::file_size(path));
    EXPECT_EQ(summary.colours, 3);
    EXPECT_EQ(summary.largestChannelError, 0);
}

TEST_F(GifAnimationTest, KeepsFramesOfManyColoursWithinTheErrorItReports) {
    GifAnimation animation;
    for (int shift = 0; shift < 4; ++shift) {
        animation.addFrame(gradient(64, 48, shift * 40), 4);
    }
    const std::string path = (folder / "gradient.gif").string();
    GifSummary summary;
    std::string problem;
    ASSERT_TRUE(animation.write(path, summary, problem)) << problem;
    EXPECT_EQ(summary.colours, 255);
    // Thousands of colours filling the colour cube: 255 boxes are about 40 levels on a side,
    // so no colour lies much more than half that from its entry; a region the palette
    // missed would be a hundred away.
    EXPECT_LE(summary.largestChannelError, 32);
    const DecodedGif decoded = decode(path);
    ASSERT_EQ(decoded.frames.size(), 4u);
    int largest = 0;
    for (int shift = 0; shift < 4; ++shift) {
        largest = std::max(largest, largestChannelDifference(decoded.frames[shift].picture,
                                                             gradient(64, 48, shift * 40)));
    }
    EXPECT_EQ(largest, summary.largestChannelError);
}

TEST_F(GifAnimationTest, WritesNothingWhenTheFileCannotBeWritten) {
    GifAnimation animation;
    GifSummary summary;
    std::string problem;
    const std::string empty = (folder / "empty.gif").string();
    EXPECT_FALSE(animation.write(empty, summary, problem));
    EXPECT_EQ(problem.rfind(empty + ": ", 0), 0u) << problem;
    EXPECT_FALSE(std::filesystem::exists(empty));

    animation.addFrame(filledImage(2, 2, 9), 2);
    const std::string noFolder = (folder / "absent" / "a.gif").string();
    EXPECT_FALSE(animation.write(noFolder, summary, problem));
    EXPECT_EQ(problem.rfind(noFolder + ": ", 0), 0u) << problem;
    // A folder where the file should go is left as it was, with nothing beside it.
    const std::filesystem::path occupied = folder / "occupied.gif";
    std::filesystem::create_directories(occupied / "inside");
    EXPECT_FALSE(animation.write(occupied.string(), summary, problem));
    EXPECT_TRUE(std::filesystem::exists(occupied / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CompressedFrameStore, GivesBackEachFrameAsAddedAndRefusesAnotherSize) {
    CompressedFrameStore store;
    store.add(gradient(20, 10, 0));
    store.add(gradient(20, 10, 99));
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store.frame(1).pixels, gradient(20, 10, 99).pixels);
    EXPECT_EQ(store.frame(0).pixels, gradient(20, 10, 0).pixels);
    EXPECT_THROW(store.add(gradient(10, 20, 0)), std::invalid_argument);
}

}  // namespace
}  // namespace vorel
