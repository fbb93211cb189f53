// ImportedSkeleton: the bone tree an importer fills, whatever the file's format, and the Vorel
// bone tree made from it for the model file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/bone_data.h"
#include "convert/affine_transform.h"
#include "convert/joint_frames.h"

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

// The bone tree for the model file, `boneVertices[b]` moved into bone b; a skeleton without
// bones gives one bone named `staticName` at the origin (its points `staticLength` apart).
std::unique_ptr<BoneData> buildBoneTree(const ImportedSkeleton& skeleton,
                                        std::vector<std::vector<std::int32_t>>& boneVertices,
                                        const std::string& staticName, float staticLength);

}  // namespace vorel
