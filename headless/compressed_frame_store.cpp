// CompressedFrameStore: zlib at its fastest level; rendered frames are mostly background and
// shrink to a few percent.
#include "headless/compressed_frame_store.h"

#include <zlib.h>

#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

namespace vorel {

void CompressedFrameStore::add(const RgbImage& frame) {
    if (frames_.empty()) {
        width_ = frame.width;
        height_ = frame.height;
    } else if (frame.width != width_ || frame.height != height_) {
        throw std::invalid_argument("frames of an animation differ in size");
    }
    uLongf packedSize = compressBound(static_cast<uLong>(frame.pixels.size()));
    std::vector<Bytef> packed(packedSize);
    if (compress2(packed.data(), &packedSize, frame.pixels.data(),
                  static_cast<uLong>(frame.pixels.size()), Z_BEST_SPEED) != Z_OK) {
        throw std::bad_alloc();
    }
    // A copy of just the packed bytes: the buffer itself keeps the raw size's capacity.
    frames_.emplace_back(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
}

RgbImage CompressedFrameStore::frame(std::size_t index) const {
    RgbImage image{width_, height_, {}};
    image.pixels.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
    uLongf unpackedSize = static_cast<uLongf>(image.pixels.size());
    const std::string& packed = frames_.at(index);
    if (uncompress(image.pixels.data(), &unpackedSize,
                   reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK ||
        unpackedSize != image.pixels.size()) {
        throw std::logic_error("a stored frame does not unpack to its size");
    }
    return image;
}

}  // namespace vorel
