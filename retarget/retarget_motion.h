// retargetMotion: a source motion put on a target skeleton, frame by frame. Each mapped
// bone is turned so that it points, in the world, where its source bone points, and twists
// about its length as the source bone twists from its rest; unmapped bones keep their rest
// relative to their parent (the default dancer's skirt still clears her thighs). The pelvis
// follows the source's root, its height and travel scaled by the ratio of the leg lengths.
// Rest poses may differ freely: everything is worked out from world directions.
#pragma once

#include <string>
#include <vector>

#include "assets/model_data.h"
#include "convert/affine_transform.h"
#include "retarget/bone_map.h"
#include "retarget/source_motion.h"
#include "skeleton/bone_list.h"

namespace vorel {

struct RetargetOptions {
    // Keep the root's height but none of its horizontal travel; otherwise the travel is kept
    // and centred so that the middle of its path is on the vertical axis.
    bool inPlace = false;
};

struct RetargetedMotion {
    // frameCount * boneCount bone motions (the T*R*S a track holds), frame by frame, bones
    // in the target's BoneList order.
    std::vector<TrsTransform> motions;
    int frameCount = 0;
    std::size_t boneCount = 0;
    double frameTime = 0.0;
    // Target leg length over source leg length (hip height above the lowest joint at rest).
    double legRatio = 1.0;
    // Bones driven by the map.
    std::size_t mappedBones = 0;
    // True when the target is the default dancer and her skirt was kept clear of her thighs.
    bool skirtCleared = false;

    const TrsTransform& motion(int frame, std::size_t bone) const {
        return motions[static_cast<std::size_t>(frame) * boneCount + bone];
    }
};

// False, with problem set to one line, when the source has no frames or frames too close to
// key, its frames times the target's bones exceed MaxSourceJointFrames, a mapped bone on
// either side has no length to point along, or either skeleton has no leg length to scale by.
bool retargetMotion(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
                    const RetargetOptions& options, RetargetedMotion& result, std::string& problem);

}  // namespace vorel
