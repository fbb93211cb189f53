// sourceFromBvh: a BVH capture as a SourceMotion: every joint and end site, its rest pose
// (offsets only, every channel zero) and its forward kinematics at every frame.
#pragma once

#include "interop/bvh_motion.h"
#include "retarget/source_motion.h"

namespace vorel {

SourceMotion sourceFromBvh(const BvhMotion& bvh);

}  // namespace vorel
