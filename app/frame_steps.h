// updateFigure and advanceClock: the steps of a frame that change state without drawing, for
// drawFrame and for tools that play the viewer's frames with no picture.
#pragma once

namespace vorel {

// Moves every playing animation on by timeStep and skins the figure; the clock plays no part.
// drawFrame runs it before drawing.
void updateFigure();
// Adds timeStep to animationClock while clockRunning is set. drawFrame runs it last.
void advanceClock();

}  // namespace vorel
