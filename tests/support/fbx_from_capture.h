// fbxFromCapture: a BVH capture written as the FBX node tree of a skeleton-only animation (no
// mesh), as motion libraries hand them out: every joint and End Site a LimbNode at its OFFSET,
// each rotation channel triple in the FBX rotation order that turns like it, every frame one
// linear key, the frame rate a custom time mode. Joint names get `prefix` in front.
#pragma once

#include <string>

#include "bvh/bvh_motion.h"
#include "fbx/fbx_node.h"

namespace vorel::test_support {

FbxNode fbxFromCapture(const BvhMotion& motion, const std::string& prefix = "");

}  // namespace vorel::test_support
