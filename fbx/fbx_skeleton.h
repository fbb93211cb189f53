// buildFbxSkeleton: the rig's joints as one Vorel bone tree in Vorel's axes. A joint a skin
// cluster links rests where the skin was bound (its TransformLink); any other joint rests at
// its place in the file relative to its parent joint's rest.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_skeleton.h"
#include "fbx/fbx_axes.h"
#include "fbx/fbx_rig.h"
#include "fbx/fbx_scene.h"

namespace vorel {

// False, with error set, when a joint's rest frame is singular. Warnings (renamed joints) are
// appended.
bool buildFbxSkeleton(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                      ImportedSkeleton& skeleton, std::vector<std::string>& warnings,
                      LoadError& error);

}  // namespace vorel
