// Loft: a body part as elliptical cross-sections along a straight axis, closed by rounded
// caps. Stations give the shape; the sections between them are blended smoothly. Also the
// plain ellipsoid for small round parts.
#pragma once

#include <vector>

#include "dancer/surface_grid.h"
#include "math/vector3.h"

namespace vorel {

struct LoftStation {
    // Position along the axis: 0 at the start point, 1 at the end point.
    float along = 0.0f;
    // Half extents of the section across (widthAxis) and front to back (depthAxis).
    float halfWidth = 1.0f;
    float halfDepth = 1.0f;
    // Shift of the section's centre along depthAxis (a bust, a calf, a jaw).
    float shift = 0.0f;
};

struct Loft {
    Vector3 start;
    Vector3 end;
    // Direction of the section's width; made square to the axis when the grid is built.
    Vector3 widthAxis;
    // At least two stations, in increasing order of along.
    std::vector<LoftStation> stations;
    // Length of each rounded cap as a fraction of the end section's smaller half extent.
    float capRoundness = 1.0f;
    // Resolution: sections between the end stations and points around each section.
    int sections = 12;
    int around = 16;
};

SurfaceGrid makeLoftGrid(const Loft& loft);
// An upright ellipsoid with the given half extents along x, y and z.
SurfaceGrid makeEllipsoidGrid(const Vector3& centre, float halfX, float halfY, float halfZ);

}  // namespace vorel
