// writePng: libpng's simplified write interface, which reports failure instead of jumping.
#include "headless/png_file.h"

#include <png.h>

#include <cstring>

namespace vorel {

bool writePng(const RgbImage& image, const std::string& path, std::string& problem) {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width);
    description.height = static_cast<png_uint_32>(image.height);
    description.format = PNG_FORMAT_RGB;
    const int written =
        png_image_write_to_file(&description, path.c_str(), 0, image.pixels.data(), 0, nullptr);
    if (written == 0) {
        problem = path + ": " + description.message;
        png_image_free(&description);
        return false;
    }
    return true;
}

}  // namespace vorel
