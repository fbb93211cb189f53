// drawFrame: one frame of the viewer up to, not including, presenting it: clear, place and
// turn the view, update the figure, draw it, advance the clock. The viewer's display callback
// and the headless renderer both run it, so every frame follows the same sequence.
#pragma once

namespace vorel {

// Display steps 1-8. The frame is drawn at spinAngle as it stood, which then grows by one.
// The figure advances by timeStep whether or not the clock runs.
void drawFrame();

}  // namespace vorel
