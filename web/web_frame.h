// drawWebFrame: one frame of the browser page, the viewer's frame sequence on the page's own
// renderer: clear, take the turn, update the figure, draw it, advance the clock. It also
// times the update and the drawing, so the page can say where a frame's time goes.
#pragma once

#include "web/webgl_figure_renderer.h"

namespace vorel {

// Milliseconds spent since the page opened, summed over frames.
struct FrameTimes {
    int frames = 0;
    double updateMilliseconds = 0.0;
    double drawMilliseconds = 0.0;
};

// Allocates nothing.
void drawWebFrame(WebGLFigureRenderer& renderer, FrameTimes& times);

}  // namespace vorel
