// importFbxMesh: every placed mesh geometry of the scene as Vorel positions, normals and
// triangles in the rest pose, in Vorel's axes. Each control point becomes one position: a
// skinned point weighted over its (at most four heaviest) joints, or given to its heaviest
// joint alone when `rigid` is set (placed where the skin was bound, through the clusters'
// Transform), a point of an unskinned mesh below a joint to that joint, any other point to
// none. Polygons of any size become triangle fans; normals follow the file's mapping
// or, without any, the faces around each point.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_mesh.h"
#include "convert/imported_skeleton.h"
#include "fbx/fbx_axes.h"
#include "fbx/fbx_rig.h"
#include "fbx/fbx_scene.h"

namespace vorel {

// False, with error set, for a polygon index past the control points, a polygon list without
// its end mark, a normal mapping the file does not fill, or a scene without triangles.
bool importFbxMesh(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                   const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh,
                   std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
