// RetargetOptions: what a caller of retargetMotion chooses: whether the root keeps its travel,
// and a per-frame adjustment of the target's bone rotations (a figure's own rule, such as the
// default dancer's skirt, which the generic solve knows nothing of).
#pragma once

#include <functional>
#include <vector>

#include "convert/affine_transform.h"

namespace vorel {

struct RetargetOptions {
    // Keep the root's height but none of its horizontal travel; otherwise the travel is kept
    // and centred so that the middle of its path is on the vertical axis.
    bool inPlace = false;
    // Hold the target's feet where the source's feet rest (retarget/foot_planter.h); off,
    // every mapped bone only follows its source bone.
    bool plantFeet = true;
    // Called at every frame with each target bone's world rotation relative to its rest
    // (BoneList order) once the map has set them, before the bone motions are worked out;
    // it may change any of them. Runs on the per-frame path: it must not allocate. Empty:
    // the rotations stay as the map set them.
    std::function<void(std::vector<Quaternion4d>& worldRotations)> adjustWorldRotations;
};

}  // namespace vorel
