// captureFrame: reads back what the current GL context has drawn, for tools that save frames.
#pragma once

#include <cstdint>
#include <vector>

namespace vorel {

// The colour buffer as 8-bit RGB, rows from the top of the picture down.
std::vector<std::uint8_t> captureFrame(int width, int height);

}  // namespace vorel
