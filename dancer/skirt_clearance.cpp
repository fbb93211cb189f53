// A panel hangs from the waistband at some angle from straight down; a thigh swung forward
// (or out) towards it would pass through the cloth, so the panel in front of a thigh flares
// to stay SkirtClearance degrees above it, less so as the thigh points away from the panel.
#include "dancer/skirt_clearance.h"

#include <algorithm>

#include "math/matrix4.h"
#include "math/pi.h"
#include "math/precise.h"

namespace vorel {

namespace {

constexpr float RadiansToDegrees = 180.0f / PiFloat;
// How far above a raised thigh the skirt panel in front of it stays, in degrees.
constexpr float SkirtClearance = 18.0f;

Vector3 rotate(const Quaternion& q, const Vector3& v) {
    const Matrix4 m = q.toMatrix4();
    return Vector3(Vector3::dot(m.row(0), v), Vector3::dot(m.row(1), v), Vector3::dot(m.row(2), v));
}

Vector3 direction(const BoneLayout& bone) {
    Vector3 d(bone.tail.x - bone.head.x, bone.tail.y - bone.head.y, bone.tail.z - bone.head.z);
    return d.normalize();
}

float angleFromDown(const Vector3& unit) {
    return preciseAcos(std::clamp(-unit.y, -1.0f, 1.0f)) * RadiansToDegrees;
}

// The extra flare a skirt panel needs so that no raised thigh pushes through it.
float flareForThighs(const SkeletonLayout& skeleton, const SkirtThighs& thighs,
                     const std::vector<Quaternion>& rotations, const BoneLayout& panel) {
    const Vector3 panelDirection = direction(panel);
    Vector3 radial(panelDirection.x, 0.0f, panelDirection.z);
    radial.normalize();
    const float restAngle = angleFromDown(panelDirection);
    float flare = 0.0f;
    for (const int thigh : thighs.bones) {
        const Vector3 leg = rotate(rotations[static_cast<std::size_t>(thigh)],
                                   direction(skeleton.bones[static_cast<std::size_t>(thigh)]));
        const float across = preciseSqrt(leg.x * leg.x + leg.z * leg.z);
        if (across < 1e-3f) continue;
        const float facing = (leg.x * radial.x + leg.z * radial.z) / across;
        if (facing <= 0.0f) continue;
        const float needed = (angleFromDown(leg) + SkirtClearance - restAngle) * facing;
        flare = std::max(flare, needed);
    }
    return flare;
}

}  // namespace

Quaternion jointRotation(const BoneLayout& bone, const JointAngles& angles) {
    const Quaternion twist(bone.twistAxis, angles.twist, true);
    const Quaternion spread(bone.spreadAxis, angles.spread, true);
    const Quaternion bend(bone.bendAxis, angles.bend, true);
    return twist.multiply(spread).multiply(bend);
}

SkirtThighs findSkirtThighs(const SkeletonLayout& skeleton) {
    return {{skeleton.find("thigh_l"), skeleton.find("thigh_r")}};
}

Quaternion skirtPanelRotation(const SkeletonLayout& skeleton, const SkirtThighs& thighs,
                              const std::vector<Quaternion>& rotations, const BoneLayout& panel,
                              JointAngles angles, float extraFlare) {
    angles.bend += extraFlare + flareForThighs(skeleton, thighs, rotations, panel);
    return jointRotation(panel, angles);
}

bool isSkirtPanel(const BoneLayout& bone) {
    return bone.name.rfind("skirt", 0) == 0;
}

}  // namespace vorel
