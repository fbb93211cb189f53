// retargetMotion: a source motion put on a target skeleton, frame by frame: a plan worked out
// once (retarget/retarget_plan.h), then each frame solved with it (retarget/frame_solver.h).
// Rest poses may differ freely: everything is worked out from world directions.
#pragma once

#include <string>
#include <vector>

#include "assets/model_data.h"
#include "convert/affine_transform.h"
#include "retarget/bone_map.h"
#include "retarget/contact_quality.h"
#include "retarget/foot_planter.h"
#include "retarget/retarget_options.h"
#include "retarget/source_motion.h"

namespace vorel {

struct RetargetedMotion {
    // frameCount * boneCount bone motions (the T*R*S a track holds), frame by frame, bones
    // in the target's BoneList order.
    std::vector<TrsTransform> motions;
    int frameCount = 0;
    std::size_t boneCount = 0;
    double frameTime = 0.0;
    // Target leg length over source leg length (retarget/retarget_plan.h).
    double legRatio = 1.0;
    // Bones driven by the map.
    std::size_t mappedBones = 0;
    // The source's foot contacts, leg by leg, and how well the source itself keeps them.
    std::vector<LegContacts> contacts;
    ContactQuality sourceQuality;
    double sourceHeight = 1.0;
    // Whether the feet were planted; when planting was asked for but the map gives no legs,
    // why not.
    bool planted = false;
    std::string notPlanted;

    const TrsTransform& motion(int frame, std::size_t bone) const {
        return motions[static_cast<std::size_t>(frame) * boneCount + bone];
    }
};

// False, with problem set to one line, when the source has no frames or frames too close to
// key, its frames times the target's bones exceed MaxSourceJointFrames, the groups drive no
// bone, a mapped bone on either side has no length to point along, either skeleton has no
// leg length to scale by, or a frame's motions leave the range of numbers a key can hold.
bool retargetMotion(const SourceMotion& source, const ModelData& target, const JointGroups& groups,
                    const RetargetOptions& options, RetargetedMotion& result, std::string& problem);

}  // namespace vorel
