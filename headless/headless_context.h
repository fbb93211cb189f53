// HeadlessContext: an OpenGL compatibility context with fixed-function GL and no window, on
// Mesa's surfaceless EGL platform with a pbuffer, so frames can be drawn with no X server.
#pragma once

#include <EGL/egl.h>

#include <memory>
#include <string>

namespace vorel {

class HeadlessContext {
  public:
    // Null, with problem set, when EGL offers no such context. The context is made current.
    static std::unique_ptr<HeadlessContext> create(int width, int height, std::string& problem);
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // GL_RENDERER of the context, for example "llvmpipe (LLVM 15.0.6, 256 bits)".
    std::string renderer() const;

  private:
    HeadlessContext() = default;

    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

}  // namespace vorel
