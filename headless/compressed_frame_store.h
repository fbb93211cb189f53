// CompressedFrameStore: keeps a run of same-sized frames deflated in memory, so an animation
// can be collected whole (its palette needs every frame) for a fraction of the raw size.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "headless/rgb_image.h"

namespace vorel {

class CompressedFrameStore {
  public:
    // Throws std::invalid_argument for a frame of another size than the first.
    void add(const RgbImage& frame);
    std::size_t size() const { return frames_.size(); }
    // The frame as it was added.
    RgbImage frame(std::size_t index) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::string> frames_;
};

}  // namespace vorel
