// HeadlessContext: EGL set-up on EGL_PLATFORM_SURFACELESS_MESA with a pbuffer the size of the
// viewer's window, and its tear-down.
#include "headless/headless_context.h"

#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdlib>

namespace vorel {

namespace {

EGLDisplay openSurfacelessDisplay() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

std::unique_ptr<HeadlessContext> HeadlessContext::create(int width, int height,
                                                         std::string& problem) {
    // llvmpipe draws the same bits on every machine and every run; a GPU driver need not.
    // A caller who wants another driver can still set the variable.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    std::unique_ptr<HeadlessContext> headless(new HeadlessContext);
    headless->display = openSurfacelessDisplay();
    if (headless->display == EGL_NO_DISPLAY ||
        eglInitialize(headless->display, nullptr, nullptr) != EGL_TRUE) {
        problem = "EGL has no surfaceless Mesa display";
        headless->display = EGL_NO_DISPLAY;
        return nullptr;
    }
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        problem = "EGL offers no desktop OpenGL";
        return nullptr;
    }
    // The same buffers the viewer asks GLUT for: RGBA with alpha, and a depth buffer.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (eglChooseConfig(headless->display, configAttributes, &config, 1, &configCount) !=
            EGL_TRUE ||
        configCount < 1) {
        problem = "EGL has no RGBA pbuffer configuration with a depth buffer";
        return nullptr;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    headless->surface = eglCreatePbufferSurface(headless->display, config, surfaceAttributes);
    if (headless->surface == EGL_NO_SURFACE) {
        problem = "EGL cannot make a pbuffer";
        return nullptr;
    }
    // No attributes: the default desktop context is a compatibility one, fixed function included.
    headless->context = eglCreateContext(headless->display, config, EGL_NO_CONTEXT, nullptr);
    if (headless->context == EGL_NO_CONTEXT ||
        eglMakeCurrent(headless->display, headless->surface, headless->surface,
                       headless->context) != EGL_TRUE) {
        problem = "EGL cannot make an OpenGL compatibility context current";
        return nullptr;
    }
    return headless;
}

HeadlessContext::~HeadlessContext() {
    if (display == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) {
        eglDestroyContext(display, context);
    }
    if (surface != EGL_NO_SURFACE) {
        eglDestroySurface(display, surface);
    }
    // NOTE: no eglTerminate. Mesa leaks a block on terminate and then unloads the driver, so
    // the sanitizer reports a leak it cannot even name. The display is a process-wide
    // singleton that a later create() reuses, and it goes with the process.
    eglReleaseThread();
}

std::string HeadlessContext::renderer() const {
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name == nullptr ? std::string() : std::string(name);
}

}  // namespace vorel
