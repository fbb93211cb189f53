// buildBvhFigure: a Vorel skeleton and a plain body for a BVH hierarchy, so a capture can be
// seen as it was recorded. One bone per ROOT and JOINT (an End Site only gives its parent's
// tail); a tapered capsule from each joint to each child at a distance, proportioned to that
// length and carried rigidly by the joint's bone. Not a skinned character: no weights.
#pragma once

#include <vector>

#include "bvh/bvh_motion.h"
#include "convert/affine_transform.h"
#include "convert/imported_mesh.h"
#include "convert/imported_skeleton.h"

namespace vorel {

struct BvhFigure {
    // Bones in the joints' file order (a pre-order); boneNode holds each bone's BVH joint.
    ImportedSkeleton skeleton;
    ImportedMesh mesh;
    // The bone of each BVH joint; -1 for an End Site.
    std::vector<int> boneOfJoint;
};

// The pose the figure is bound in: every joint at its OFFSET plus its position channels of
// the first frame, no rotation, so the figure stands where the capture starts.
std::vector<Point3d> bvhBindOrigins(const BvhMotion& motion);

// The figure for joints whose bind origins are `origins` (one per joint).
BvhFigure buildBvhFigure(const BvhMotion& motion, const std::vector<Point3d>& origins);

}  // namespace vorel
