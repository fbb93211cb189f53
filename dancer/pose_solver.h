// solvePose: turns a pose's joint angles into each bone's transform in its own rest frame,
// the form the animation tracks hold. The skirt panels are lifted clear of raised thighs.
#pragma once

#include <string>
#include <vector>

#include "dancer/pose.h"
#include "dancer/skeleton_layout.h"
#include "skeleton/bone_transform.h"

namespace vorel {

// One transform per bone of the layout, in layout order. False, with error set, when the
// pose names a bone the layout does not have.
bool solvePose(const Pose& pose, const SkeletonLayout& skeleton, std::vector<BoneTransform>& out,
               std::string& error);

}  // namespace vorel
