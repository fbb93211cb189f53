// GifEncoder: giflib's low-level writer into a string: screen and global palette, the
// NETSCAPE2.0 loop, then per frame a graphic control block and the changed rectangle.
#include "headless/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>

namespace vorel {

namespace {

struct Rectangle {
    int left;
    int top;
    int width;
    int height;
};

int appendToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    return length;
}

// The smallest rectangle holding every pixel that differs; one pixel when none does, since a
// GIF frame cannot be empty.
Rectangle changedRectangle(const std::vector<std::uint8_t>& previous,
                           const std::vector<std::uint8_t>& current, int width, int height) {
    int left = width;
    int right = -1;
    int top = height;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            if (previous[row + static_cast<std::size_t>(x)] !=
                current[row + static_cast<std::size_t>(x)]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return Rectangle{0, 0, 1, 1};
    }
    return Rectangle{left, top, right - left + 1, bottom - top + 1};
}

// Colour tables hold a power of two entries.
int tableSize(std::size_t colours) {
    int size = 2;
    while (static_cast<std::size_t>(size) < colours) {
        size *= 2;
    }
    return size;
}

}  // namespace

GifEncoder::GifEncoder(int width, int height, const std::vector<PaletteColour>& palette)
    : width_(width), height_(height), unchangedIndex_(static_cast<std::uint8_t>(palette.size())) {
    gif_ = EGifOpen(&bytes_, appendToString, &error_);
    if (gif_ != nullptr) {
        startFile(palette);
    }
}

GifEncoder::~GifEncoder() {
    if (gif_ != nullptr) {
        EGifCloseFile(gif_, nullptr);
    }
}

void GifEncoder::startFile(const std::vector<PaletteColour>& palette) {
    std::vector<GifColorType> colours(static_cast<std::size_t>(tableSize(palette.size() + 1)),
                                      GifColorType{255, 255, 255});
    for (std::size_t entry = 0; entry < palette.size(); ++entry) {
        colours[entry] = GifColorType{palette[entry][0], palette[entry][1], palette[entry][2]};
    }
    ColorMapObject* table = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (table == nullptr) {
        error_ = E_GIF_ERR_NOT_ENOUGH_MEM;
        return;
    }
    // The loop and the delays are GIF89a features.
    EGifSetGifVersion(gif_, true);
    check(EGifPutScreenDesc(gif_, width_, height_, 8, 0, table));
    GifFreeMapObject(table);
    putLoopForever();
}

void GifEncoder::putLoopForever() {
    static const char application[] = "NETSCAPE2.0";
    // Sub-block 1, then the loop count as 16 bits, little-endian: 0 loops forever.
    static const unsigned char loopCount[] = {1, 0, 0};
    check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif_, sizeof application - 1, application));
    check(EGifPutExtensionBlock(gif_, sizeof loopCount, loopCount));
    check(EGifPutExtensionTrailer(gif_));
}

void GifEncoder::putFrameTiming(int delay, bool transparent) {
    GraphicsControlBlock timing{};
    // Each frame stays under the next, which then needs to hold only what changed.
    timing.DisposalMode = DISPOSE_DO_NOT;
    timing.UserInputFlag = false;
    timing.DelayTime = delay;
    timing.TransparentColor = transparent ? unchangedIndex_ : NO_TRANSPARENT_COLOR;
    GifByteType block[4];
    const std::size_t length = EGifGCBToExtension(&timing, block);
    check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block));
}

void GifEncoder::addFrame(const std::vector<std::uint8_t>& indices, int delay) {
    if (error_ != 0) {
        return;
    }
    const bool first = previous_.empty();
    const Rectangle area = first ? Rectangle{0, 0, width_, height_}
                                 : changedRectangle(previous_, indices, width_, height_);
    putFrameTiming(delay, !first);
    check(EGifPutImageDesc(gif_, area.left, area.top, area.width, area.height, false, nullptr));
    std::vector<GifPixelType> line(static_cast<std::size_t>(area.width));
    for (int y = area.top; y < area.top + area.height && error_ == 0; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < area.width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(area.left + x);
            const bool unchanged = !first && previous_[at] == indices[at];
            line[static_cast<std::size_t>(x)] = unchanged ? unchangedIndex_ : indices[at];
        }
        check(EGifPutLine(gif_, line.data(), area.width));
    }
    previous_ = indices;
}

bool GifEncoder::finish(std::string& bytes, std::string& problem) {
    if (gif_ != nullptr) {
        int closeError = 0;
        if (EGifCloseFile(gif_, &closeError) == GIF_ERROR && error_ == 0) {
            error_ = closeError;
        }
        gif_ = nullptr;
    }
    if (error_ != 0) {
        const char* reason = GifErrorString(error_);
        problem = reason != nullptr ? reason : "giflib failed";
        return false;
    }
    bytes = std::move(bytes_);
    return true;
}

void GifEncoder::check(int status) {
    if (status == GIF_ERROR && error_ == 0) {
        error_ = gif_->Error;
    }
}

}  // namespace vorel
