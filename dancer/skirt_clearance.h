// skirtPanelRotation: how far a skirt panel of the dancer flares so that no raised thigh
// pushes through it. Shared by her own poses and by motion put on her from elsewhere, so
// the skirt moves the same way whatever drives the legs.
#pragma once

#include <vector>

#include "dancer/pose.h"
#include "dancer/skeleton_layout.h"
#include "math/quaternion.h"

namespace vorel {

// The rotation of a joint by its angles, about the bone's model-space axes in the rest pose.
Quaternion jointRotation(const BoneLayout& bone, const JointAngles& angles);

// The layout indices of the left and right thighs, the bones a panel's flare follows: found
// once by name, so that whatever flares the skirt at every frame compares no names.
struct SkirtThighs {
    int bones[2] = {-1, -1};
};
SkirtThighs findSkirtThighs(const SkeletonLayout& skeleton);

// The panel's rotation relative to the pelvis, in model-space axes: its own angles with the
// bend raised by `extraFlare` degrees and by whatever the thighs need. `rotations` holds
// every layout bone's rotation relative to the pelvis in the same axes; only the thighs'
// entries are read.
Quaternion skirtPanelRotation(const SkeletonLayout& skeleton, const SkirtThighs& thighs,
                              const std::vector<Quaternion>& rotations, const BoneLayout& panel,
                              JointAngles angles, float extraFlare);

// Whether the layout bone is one of the skirt's panels.
bool isSkirtPanel(const BoneLayout& bone);

}  // namespace vorel
