// importAnimations: each glTF animation as one Vorel animation whose tracks move every bone
// as the file's node animation moves its joint (rigidly), keyed wherever Vorel's
// per-component interpolation would otherwise leave the file's curve, and nowhere else.
#pragma once

#include <tiny_gltf.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_animation.h"
#include "gltf/gltf_scene_graph.h"
#include "gltf/gltf_skeleton.h"

namespace vorel {

// False, with error set, for a sampler whose input is not increasing, not finite, or whose
// output does not match it, or for a bone that needs more keys than an animation file holds.
// Morph-weight channels are skipped with a warning.
bool importAnimations(const tinygltf::Model& model, const GltfSceneGraph& graph,
                      const ImportedSkeleton& skeleton, const AnimationImportOptions& options,
                      std::vector<ImportedAnimation>& animations,
                      std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
