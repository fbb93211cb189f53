// takeSpinAngle, updateFigure and advanceClock: the steps of a frame that change state without
// drawing, for drawFrame, the browser page's frame and tools that play frames with no picture.
#pragma once

namespace vorel {

// The angle this frame is drawn at, spinAngle as it stood; the next frame turns one degree
// further. drawFrame takes it first.
float takeSpinAngle();
// Moves every playing animation on by timeStep and skins the figure; the clock plays no part.
// drawFrame runs it before drawing.
void updateFigure();
// Adds timeStep to animationClock while clockRunning is set. drawFrame runs it last.
void advanceClock();

}  // namespace vorel
