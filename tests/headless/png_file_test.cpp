// writePng: what is written reads back pixel for pixel; a file that cannot be written is a
// reported failure, not a silent one.
#include "headless/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace vorel {
namespace {

RgbImage readBack(const std::string& path) {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    RgbImage image;
    if (png_image_begin_read_from_file(&description, path.c_str()) == 0) {
        return image;
    }
    description.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(description.width);
    image.height = static_cast<int>(description.height);
    image.pixels.resize(PNG_IMAGE_SIZE(description));
    if (png_image_finish_read(&description, nullptr, image.pixels.data(), 0, nullptr) == 0) {
        return RgbImage{};
    }
    return image;
}

TEST(WritePng, WritesRgbRowsFromTheTopThatReadBackUnchanged) {
    RgbImage image{3, 2, {}};
    for (int i = 0; i < 3 * 2 * 3; ++i) {
        image.pixels.push_back(static_cast<std::uint8_t>(i * 13));
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vorel-png-" + std::to_string(::getpid()) + ".png"))
                                 .string();
    std::string problem;
    ASSERT_TRUE(writePng(image, path, problem)) << problem;
    const RgbImage back = readBack(path);
    std::filesystem::remove(path);
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.pixels, image.pixels);
}

TEST(WritePng, ReportsAFileThatCannotBeWritten) {
    const RgbImage image{1, 1, {0, 0, 0}};
    std::string problem;
    EXPECT_FALSE(writePng(image, "/nonexistent-folder/frame.png", problem));
    EXPECT_EQ(problem.rfind("/nonexistent-folder/frame.png: ", 0), 0u) << problem;
}

}  // namespace
}  // namespace vorel
