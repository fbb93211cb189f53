// The GL-free steps of a frame, on the viewer's process-wide state.
#include "app/frame_steps.h"

#include "app/app_state.h"

namespace vorel {

float takeSpinAngle() {
    const float angle = spinAngle;
    spinAngle += 1.0f;
    return angle;
}

void updateFigure() {
    figure->update(timeStep);
}

void advanceClock() {
    if (clockRunning) {
        animationClock += timeStep;
    }
}

}  // namespace vorel
