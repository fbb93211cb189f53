// The viewer's process-wide state: the time step, the animation clock and its running flag,
// the spin angle, and the library and figure built once at start-up. Plain globals on purpose:
// GLUT callbacks take no context pointer, and one GLUT thread touches them.
#pragma once

#include <memory>

#include "anim/figure.h"
#include "assets/asset_library.h"

namespace vorel {

// Animation time added per frame; nothing changes it.
extern float timeStep;
// Grows by timeStep at the end of each frame while clockRunning is set; dances started by a
// key take it as their start time.
extern float animationClock;
extern bool clockRunning;
// Degrees about the vertical axis the next frame is drawn at; never wrapped.
extern float spinAngle;
// Set once at start-up and never released; not owned by anything else.
extern AssetLibrary* library;
extern Figure* figure;

// Keeps the library for the rest of the process and builds the figure from it; the library
// must have passed loadStartupLibrary.
void installFigure(std::unique_ptr<AssetLibrary> loaded);

}  // namespace vorel
