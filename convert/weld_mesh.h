// weldMesh: an imported mesh with its bit-equal data merged, so a character costs what its
// distinct positions and normals cost. Positions merge only within one bone, and normals only
// among the corners of one bone's positions: skinning turns a normal by the last bone that
// reaches it, so a normal shared across bones would pose differently. Not for meshes whose
// vertices are listed under two bones (importers give each vertex one bone at most).
#pragma once

#include "convert/imported_mesh.h"

namespace vorel {

// Welds in place and fills mesh.vertexPositions. Each bone's positions become one consecutive
// run, bones in order and vertices no bone moves last; the normals its corners use likewise.
// Within a run, data keeps the order in which vertices (or face corners) first give it, so
// the result depends on the mesh alone. Faces keep every corner's position and normal bits.
void weldMesh(ImportedMesh& mesh);

}  // namespace vorel
