// FbxRig: the scene's model tree made ready for posing: models parents first, which models are
// joints (every model a skin cluster links, every LimbNode and Root), each model's nearest
// joint above it, and the rest pose in the file's space. A model's step is its local matrix
// as its parent passes it on (inherit type applied); a chain of steps from just below a joint
// to a model is that model's place relative to the joint, found without inverting anything.
#pragma once

#include <vector>

#include "convert/affine_transform.h"
#include "fbx/fbx_scene.h"

namespace vorel {

struct FbxRig {
    // Models with every parent before its children.
    std::vector<int> order;
    std::vector<char> isJoint;
    // The nearest joint strictly above each model, or -1.
    std::vector<int> jointAbove;
    // The models from just below jointAbove down to each joint, top first (the joint last).
    std::vector<std::vector<int>> chainToJoint;
    // Per model, in the file's space at the file's values.
    std::vector<AffineTransform> restStep;
    std::vector<AffineTransform> restGlobal;
};

FbxRig buildFbxRig(const FbxScene& scene);

// The step of `model` whose local matrix is `local` (its parent's own scaling taken from the
// parent's values at rest).
AffineTransform fbxModelStep(const FbxScene& scene, int model, const AffineTransform& local);

// The product of `steps` over the models from just below `ancestor` (-1: the scene) down to
// `model`, in the file's space.
AffineTransform fbxChainBelow(const FbxScene& scene, const std::vector<AffineTransform>& steps,
                              int ancestor, int model);

}  // namespace vorel
