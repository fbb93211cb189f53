// The viewer's fixed view for tests: model-view translated by (0, -200, -200) and turned about
// Y, then gluPerspective(75, 640/480, 1, 1000). Checks whether model points are in sight.
#pragma once

#include "math/vector3.h"

namespace vorel {

// Whether the point projects inside the picture and between the clip planes at this turn.
bool insideViewAtTurn(const Vector3& point, float turnDegrees);
// Whether the point is inside the picture at every turn angle at once. The worst turn for a
// point depends only on its distance from the Y axis, so this is exact, not sampled.
bool insideViewAtEveryTurn(const Vector3& point);

}  // namespace vorel
