// ExportJoint: a Vorel bone as a glTF joint node. The node's bind global is the bone's rest
// frame (its return matrix B), so its inverse bind matrix is the rest matrix A and its local
// at bind is A_parent * B, a rigid T_b * R_b. A bone transform M = T(t) R(r) S(s) then becomes
// the node local A_parent * B * M = T(t_b + R_b t) R(R_b r) S(s): exact TRS, no resampling.
#pragma once

#include <string>
#include <vector>

#include "assets/bone_data.h"
#include "convert/affine_transform.h"
#include "skeleton/bone_transform.h"

namespace vorel {

struct ExportJoint {
    std::string name;
    // Index of the parent joint in the joint list; -1 for the static root joint.
    int parent = -1;
    // The node's local transform at bind (scale exactly 1).
    TrsTransform bindLocal;
    // Column-major, bottom row exactly 0 0 0 1.
    float inverseBind[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Name of the static root joint: the skeleton root, holding the bones and any vertex that no
// bone lists. It never moves.
extern const char* const RootJointName;

// Joint 0 the static root, then joint i + 1 for bones[i]; `bones` is bonesInWalkOrder(model).
std::vector<ExportJoint> exportJoints(const BoneData* rootBone,
                                      const std::vector<const BoneData*>& bones);

// The node local that moves the joint as the transform moves its bone.
TrsTransform nodeLocalFor(const ExportJoint& joint, const BoneTransform& transform);

}  // namespace vorel
