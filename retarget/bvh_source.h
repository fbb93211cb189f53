// sourceFromBvh: a BVH capture as a SourceMotion: every joint and end site, its rest pose
// (offsets only, every channel zero) and its forward kinematics at every frame.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "bvh/bvh_motion.h"
#include "retarget/source_motion.h"

namespace vorel {

// False, with error set, when the capture holds more than MaxSourceJointFrames transforms.
bool sourceFromBvh(const BvhMotion& bvh, const std::string& path, SourceMotion& motion,
                   LoadError& error);

}  // namespace vorel
