// importFbxAnimations: each animation stack as one Vorel animation of the skeleton, starting at
// the stack's LocalStart. Every joint is sampled on the file's frame grid and at every key time
// of the stack's curves, and the shared key reducer keeps the keys Vorel's interpolation needs.
// Bones are worked one at a time, so memory beyond the scene is one bone's samples.
#pragma once

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_animation.h"
#include "convert/imported_skeleton.h"
#include "fbx/fbx_axes.h"
#include "fbx/fbx_rig.h"
#include "fbx/fbx_scene.h"

namespace vorel {

// False, with error set, for a stack longer than an animation file's keys can follow, or a
// joint that needs more keys than a channel holds.
bool importFbxAnimations(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                         const ImportedSkeleton& skeleton, const AnimationImportOptions& options,
                         std::vector<ImportedAnimation>& animations,
                         std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
