// captureFrame: glReadPixels into tightly packed RGB, flipped so the first row is the top.
#include "headless/frame_capture.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstring>

namespace vorel {

std::vector<std::uint8_t> captureFrame(int width, int height) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // GL counts rows from the bottom; image files count them from the top.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        std::memcpy(&topDown[static_cast<std::size_t>(height - 1 - row) * rowBytes],
                    &bottomUp[static_cast<std::size_t>(row) * rowBytes], rowBytes);
    }
    return topDown;
}

}  // namespace vorel
