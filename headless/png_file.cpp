// writePng: libpng's simplified write interface, which reports failure instead of jumping,
// into memory; the file is then written whole or not at all.
#include "headless/png_file.h"

#include <png.h>

#include <cstring>

#include "assets/file_bytes.h"

namespace vorel {

namespace {

bool encodePng(const RgbImage& image, std::string& bytes, std::string& problem) {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width);
    description.height = static_cast<png_uint_32>(image.height);
    description.format = PNG_FORMAT_RGB;
    // The first call measures, the second fills the buffer it measured.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&description, nullptr, &size, 0, image.pixels.data(), 0,
                                  nullptr) != 0) {
        bytes.resize(size);
        if (png_image_write_to_memory(&description, bytes.data(), &size, 0, image.pixels.data(), 0,
                                      nullptr) != 0) {
            bytes.resize(size);
            return true;
        }
    }
    problem = description.message;
    png_image_free(&description);
    return false;
}

}  // namespace

bool writePng(const RgbImage& image, const std::string& path, std::string& problem) {
    std::string bytes;
    if (!encodePng(image, bytes, problem)) {
        problem = path + ": " + problem;
        return false;
    }
    if (!writeFileBytes(path, bytes)) {
        problem = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace vorel
