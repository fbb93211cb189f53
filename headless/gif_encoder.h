// GifEncoder: a looping animated GIF built in memory through giflib, frame by frame, from
// pictures already reduced to palette indices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "headless/median_cut_palette.h"

struct GifFileType;

namespace vorel {

// GIF delays are 16-bit counts of hundredths of a second.
constexpr int MaxGifDelay = 65535;

class GifEncoder {
  public:
    // The palette holds 1 to 255 colours: one more index marks pixels a frame leaves unchanged.
    GifEncoder(int width, int height, const std::vector<PaletteColour>& palette);
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    // A width * height picture of palette indices, shown for delay hundredths of a second
    // (0 to MaxGifDelay). Only the rectangle that differs from the previous frame is stored,
    // its unchanged pixels transparent, so a still background costs nothing.
    void addFrame(const std::vector<std::uint8_t>& indices, int delay);
    // Ends the file. False, with problem set, when giflib failed at any step.
    bool finish(std::string& bytes, std::string& problem);

  private:
    void startFile(const std::vector<PaletteColour>& palette);
    void putLoopForever();
    void putFrameTiming(int delay, bool transparent);
    void check(int status);

    int width_;
    int height_;
    std::uint8_t unchangedIndex_;
    GifFileType* gif_ = nullptr;
    int error_ = 0;
    std::string bytes_;
    std::vector<std::uint8_t> previous_;
};

}  // namespace vorel
