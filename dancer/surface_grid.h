// SurfaceGrid: a closed surface as rows of points that wrap around, either closed at both
// ends by a pole point (a capsule-like part) or wrapping row to row as well (a shell such as
// the skirt). The mesh builder turns it into quads with outward normals.
#pragma once

#include <vector>

#include "math/vector3.h"

namespace vorel {

struct SurfaceGrid {
    int rows = 0;
    int columns = 0;
    // rows * columns points, row by row.
    std::vector<Vector3> points;
    // True: the last row joins the first (torus-like). False: the poles close the ends.
    bool wrapsRows = false;
    Vector3 firstPole;
    Vector3 lastPole;

    const Vector3& at(int row, int column) const { return points[row * columns + column]; }
};

}  // namespace vorel
