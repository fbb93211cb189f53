// buildReducedAnimation: a retargeted motion as an animation record that keeps no more keys
// than it needs. Every frame is a candidate key (the source's own rate); the shared key
// reducer (convert/key_reducer.h) drops a key when the straight interpolation the viewer does
// between the kept keys on either side reproduces every dropped frame within the tolerances.
#pragma once

#include <cstddef>
#include <memory>

#include "assets/animation_data.h"
#include "convert/key_tolerances.h"
#include "retarget/retarget_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

// The retarget tolerances for a figure `height` tall: 0.05 degree and 0.01 % of the height.
KeyTolerances toleranceForHeight(double height);

struct ReducedAnimation {
    std::unique_ptr<AnimationData> data;
    // Keys if every animated channel kept a key at every frame, and the keys kept.
    std::size_t keysBefore = 0;
    std::size_t keysAfter = 0;
};

// Bones marked in `finer` (BoneList order; empty: none) are kept to a tenth of the tolerances:
// the bones that carry a planted foot, whose small errors add up along the leg into a foot
// that shivers where it should rest.
ReducedAnimation buildReducedAnimation(const RetargetedMotion& motion, const BoneList& target,
                                       const KeyTolerances& tolerances,
                                       const std::vector<bool>& finer = {});

// The bones of every planted leg, and the bones above them, for buildReducedAnimation's
// `finer`; empty when the feet are not planted.
std::vector<bool> plantedLegBones(const RetargetedMotion& motion, const BoneList& target);

}  // namespace vorel
