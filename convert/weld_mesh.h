// weldMesh: an imported mesh with its bit-equal data merged, so a character costs what its
// distinct positions and normals cost. Positions merge only within one bone (or, for weighted
// vertices, among those whose influences are bit-equal), and normals only among the corners
// of one such group's positions: skinning turns a normal by the last bone (or blend) that
// reaches it, so a normal shared across groups would pose differently. Not for meshes whose
// vertices are listed under two bones (importers give each vertex one bone at most).
#pragma once

#include "convert/imported_mesh.h"

namespace vorel {

// Welds in place and fills mesh.vertexPositions, and keeps mesh.influences per welded
// position. Each bone's positions become one consecutive run, bones in order, then each
// influence set's (by its first vertex), and vertices nothing moves last; the normals its corners
// use likewise. Within a run, data keeps the order in which vertices (or face corners) first give
// it, so the result depends on the mesh alone. Faces keep every corner's position and normal bits.
void weldMesh(ImportedMesh& mesh);

}  // namespace vorel
