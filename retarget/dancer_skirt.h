// DancerSkirt: keeps the default dancer's skirt clear of her thighs under retargeted motion,
// with the same rule her own dances use (dancer/skirt_clearance.h), as the per-frame
// adjustment of the retarget options. Any other target, or a dancer whose bones were changed,
// is left alone.
#pragma once

#include <vector>

#include "convert/affine_transform.h"
#include "dancer/skeleton_layout.h"
#include "dancer/skirt_clearance.h"
#include "math/quaternion.h"
#include "retarget/retarget_options.h"
#include "skeleton/bone_list.h"

namespace vorel {

class DancerSkirt {
  public:
    explicit DancerSkirt(const BoneList& target);

    // True when the target's bones are the default dancer's, so the skirt can be cleared.
    bool active() const { return !panels_.empty(); }
    // Sets every panel's world rotation from the pelvis's and the thighs' (world rotations
    // relative to the rest pose, indexed like the target's bones). Allocates nothing.
    void clear(std::vector<Quaternion4d>& worldRotations);

  private:
    struct Panel {
        int bone = -1;
        int layoutBone = -1;
    };
    SkeletonLayout layout_;
    std::vector<Panel> panels_;
    int pelvis_ = -1;
    // Target bone and layout bone of each thigh.
    int thighs_[2] = {-1, -1};
    SkirtThighs layoutThighs_;
    // Each layout bone's rotation relative to the pelvis: only the thighs' are ever set.
    std::vector<Quaternion> relative_;
};

// When the target is the default dancer, sets options.adjustWorldRotations to clear her
// skirt at every frame and returns true; otherwise leaves the options as they are.
bool addDancerSkirtRule(const BoneList& target, RetargetOptions& options);

}  // namespace vorel
