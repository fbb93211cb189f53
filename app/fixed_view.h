// The viewer's fixed window and camera: the size of every frame the viewer or a tool draws, and
// where the figure is seen from. The drawing, the headless renderer and every check of whether
// a figure stays in the picture read them here. GL-free on purpose, so tools that never draw
// can ask what the viewer would show.
#pragma once

#include "math/vector3.h"

namespace vorel {

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

// Each frame moves the model down by EyeHeight and away by EyeDistance, then turns it about Y:
// the eye looks level from that height and distance.
constexpr float EyeHeight = 200.0f;
constexpr float EyeDistance = 200.0f;
// gluPerspective's vertical field of view and clip planes.
constexpr double FieldOfViewDegrees = 75.0;
constexpr double NearPlane = 1.0;
constexpr double FarPlane = 1000.0;

// Whether the model point projects inside the picture and between the clip planes when the
// figure is turned by this many degrees.
bool insideViewAtTurn(const Vector3& point, float turnDegrees);
// Whether the point is inside the picture at every turn angle at once. The worst turn for a
// point depends only on its distance from the Y axis, so this is exact, not sampled.
bool insideViewAtEveryTurn(const Vector3& point);
// Whether every point within `radius` of `centre` is inside the picture at every turn: a
// bound, true only when no point of the ball can be out (a ball grazing an edge is not
// settled, whatever its points do).
bool sphereInsideViewAtEveryTurn(const Vector3& centre, double radius);

}  // namespace vorel
