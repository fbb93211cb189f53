// drawWebFrame: the viewer's frame steps in the viewer's order, timed with the page's clock.
#include "web/web_frame.h"

#include <emscripten/emscripten.h>

#include "app/app_state.h"
#include "app/frame_steps.h"

namespace vorel {

void drawWebFrame(WebGLFigureRenderer& renderer, FrameTimes& times) {
    const double start = emscripten_get_now();
    renderer.clear();
    const float turn = takeSpinAngle();
    updateFigure();
    const double updated = emscripten_get_now();
    renderer.draw(*figure->instances[static_cast<std::size_t>(figure->currentModel)], turn);
    advanceClock();
    times.frames += 1;
    times.updateMilliseconds += updated - start;
    times.drawMilliseconds += emscripten_get_now() - updated;
}

}  // namespace vorel
