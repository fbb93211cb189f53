// buildReducedAnimation: a retargeted motion as an animation record that keeps no more keys
// than it needs. Every frame is a candidate key (the source's own rate); a key is dropped
// when the straight interpolation the viewer does between the kept keys on either side
// reproduces every dropped frame within the tolerances.
#pragma once

#include <cstddef>
#include <memory>

#include "assets/animation_data.h"
#include "retarget/retarget_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

struct KeyTolerances {
    // Largest turn between a dropped frame and its interpolation, in degrees.
    double angleDegrees = 0.05;
    // Largest distance, in model units (0.01 % of the figure's height by default: see
    // toleranceForHeight).
    double length = 1e-4;
};

KeyTolerances toleranceForHeight(double height);

struct ReducedAnimation {
    std::unique_ptr<AnimationData> data;
    // Keys if every animated channel kept a key at every frame, and the keys kept.
    std::size_t keysBefore = 0;
    std::size_t keysAfter = 0;
};

ReducedAnimation buildReducedAnimation(const RetargetedMotion& motion, const BoneList& target,
                                       const KeyTolerances& tolerances);

}  // namespace vorel
