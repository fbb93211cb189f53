// Captures whose feet rest exactly where they are put, made by solving the capture's own legs
// (in the plane each foot faces) for ankles placed frame by frame: a walk at any speed, a deep
// squat, a turn on one foot and two jumps. Their thighs are short and their shins long, unlike
// the default dancer's legs, so a copied knee angle would put her ankle somewhere else.
#pragma once

#include "tests/retarget/test_capture.h"

namespace vorel {

constexpr LegLengths ShortThighsLongShins{5.5f, 9.0f};
constexpr double PlantedFrameTime = 1.0 / 60.0;

// A walk forward along +Z at `speed` leg lengths per second, steps of 0.6 leg lengths.
TestCapture plantedWalk(double speed, int frames);
// Both feet still while the hips go down to half their height and up again, twice.
TestCapture plantedSquat(int frames);
// Standing on the left foot, the body turns a quarter about it; the right leg held up.
TestCapture plantedTurn(int frames);
// Two jumps, the first landing where it started, the second a little forward.
TestCapture plantedJumps(int frames);

}  // namespace vorel
