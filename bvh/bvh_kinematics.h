// The forward kinematics of a BVH capture: one frame's channels as joint transforms.
#pragma once

#include <vector>

#include "bvh/bvh_motion.h"
#include "math/matrix4.h"

namespace vorel {

// Joint j's transform relative to its parent at frame f: translation by OFFSET plus its
// position channels, then its rotation channels applied in the order the file lists them
// (BVH convention: local = T * R1 * R2 * R3 for channels listed R1 R2 R3).
// NOTE: joint and frame are not checked; frame is -1 (the rest pose) or below frameCount.
Matrix4 bvhLocalTransform(const BvhMotion& motion, int joint, int frame);
// Every joint's world transform at frame f (world.size() == joints.size()); frame -1 is the
// rest pose: offsets only, every channel zero.
void bvhWorldTransforms(const BvhMotion& motion, int frame, std::vector<Matrix4>& world);

}  // namespace vorel
