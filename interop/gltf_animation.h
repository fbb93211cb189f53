// importAnimations: each glTF animation as one Vorel animation whose tracks move every bone
// as the file's node animation moves its joint (rigidly), keys added wherever Vorel's
// per-component interpolation would leave the file's curve.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "assets/animation_data.h"
#include "assets/load_error.h"
#include "interop/gltf_scene_graph.h"
#include "interop/gltf_skeleton.h"

namespace vorel {

struct AnimationImportOptions {
    // glTF seconds per unit of the animation clock.
    double speed = 1.0;
    // Largest translation error allowed between keys, in model units.
    double lengthTolerance = 1e-4;
    // Largest rotation error allowed between keys, in degrees.
    double angleTolerance = 0.05;
};

struct ImportedAnimation {
    // The glTF name ("animationN" when it has none).
    std::string name;
    std::unique_ptr<AnimationData> data;
    // Distinct key times after resampling.
    std::size_t keyTimes = 0;
};

// False, with error set, for a sampler whose input is not increasing, not finite, or whose
// output does not match it. Morph-weight channels are skipped with a warning.
bool importAnimations(const tinygltf::Model& model, const GltfSceneGraph& graph,
                      const ImportedSkeleton& skeleton, const AnimationImportOptions& options,
                      std::vector<ImportedAnimation>& animations,
                      std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
