// importSkeleton: the joints of the skins used in the imported scene as one Vorel bone tree.
// Several skins over the same joints give one skeleton; a joint's skeletal parent is its
// nearest joint ancestor, non-joint nodes between them folding into the transforms.
#pragma once

#include <tiny_gltf.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/bone_data.h"
#include "assets/load_error.h"
#include "interop/affine_transform.h"
#include "interop/gltf_scene_graph.h"
#include "interop/joint_frames.h"
#include "interop/unique_names.h"

namespace vorel {

struct ImportedSkeleton {
    // Node of each bone, bones in pre-order of the final tree. Empty for a file without skin.
    std::vector<int> boneNode;
    // Parent bone of each bone, -1 for a top-level bone.
    std::vector<int> boneParent;
    // Bone of each node, -1 for nodes that are not joints.
    std::vector<int> boneOfNode;
    // Each joint's rest global R in the scene: its first skin's bind frame (inverse bind
    // matrix inverted) carried into the scene through that skin's root joint, or its node's
    // global in the file when the skin has no inverse bind matrices; and R's inverse.
    std::vector<AffineTransform> restFrame;
    std::vector<AffineTransform> restInverse;
    std::vector<BonePoints> points;
    // Unique names whose hashes are unique too.
    std::vector<std::string> names;
    // Each skin's inverse bind matrices, one per joint of the skin (identity when absent).
    std::vector<std::vector<AffineTransform>> inverseBind;
};

// False, with error set, for a skin without joints, a joint index out of range, a joint
// listed twice in one skin, an inverse bind matrix accessor that is short or singular.
// Warnings (renamed joints) are appended.
bool importSkeleton(const tinygltf::Model& model, const GltfSceneGraph& graph,
                    ImportedSkeleton& skeleton, std::vector<std::string>& warnings,
                    LoadError& error);

// The bone tree for the model file, `boneVertices[b]` moved into bone b; a skeleton without
// bones gives one bone named `staticName` at the origin (its points `staticLength` apart).
std::unique_ptr<BoneData> buildBoneTree(const ImportedSkeleton& skeleton,
                                        std::vector<std::vector<std::int32_t>>& boneVertices,
                                        const std::string& staticName, float staticLength);

// Appends "_2", "_3", ... until the name is not taken (`taken` keeping hashes distinct when
// made so); true when it had to change. Names hold no zero byte afterwards (they end with one
// in the files).
bool makeNameUnique(std::string& name, UniqueNames& taken);

}  // namespace vorel
