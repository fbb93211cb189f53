// Pose: a dance position as joint angles in degrees per named bone, plus how far the pelvis
// is carried. Bones a pose does not name stay at rest. Angles are relative to the rest pose.
#pragma once

#include <string>
#include <vector>

#include "math/vector3.h"

namespace vorel {

// Degrees about the bone's bend, spread and twist axes (see BoneLayout for their directions).
struct JointAngles {
    float bend = 0.0f;
    float spread = 0.0f;
    float twist = 0.0f;
};

struct JointSetting {
    std::string bone;
    JointAngles angles;
};

struct Pose {
    std::vector<JointSetting> joints;
    // Model units the whole body is carried: x to the dancer's left, y up, z forward.
    Vector3 pelvisShift;
    // Degrees every skirt panel flares out beyond what the legs need.
    float skirtFlare = 0.0f;
};

// The same pose with left and right exchanged.
Pose mirrored(const Pose& pose);

}  // namespace vorel
