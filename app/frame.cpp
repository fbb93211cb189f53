// drawFrame: the state changes and drawing of one frame, in the order the viewer runs them.
#include "app/frame.h"

#include <GL/gl.h>

#include "app/app_state.h"
#include "app/draw_figure.h"
#include "app/fixed_view.h"
#include "app/frame_steps.h"

namespace vorel {

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, -EyeHeight, -EyeDistance);
    glRotatef(takeSpinAngle(), 0.0f, 1.0f, 0.0f);
    updateFigure();
    glColor4f(0.75f, 0.0f, 0.75f, 1.0f);
    drawFigure();
    advanceClock();
}

}  // namespace vorel
