// A synthetic skinned glTF character of any size, for timing the importer: a square grid of
// vertices in the XY plane over a chain of joints, each grid row bound to two joints.
#pragma once

#include <string>

namespace vorel {

// GLB bytes: `side` x `side` vertices (two triangles per grid cell, normals from the file),
// a chain of `jointCount` joints up the grid, and one animation turning every joint with
// `keyCount` LINEAR keys.
std::string makeSyntheticGlb(int side, int jointCount, int keyCount);

}  // namespace vorel
