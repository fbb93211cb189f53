// Joint angles are authored about model-space axes of the rest pose; a track holds rotations
// in the bone's rest frame, where the bone's head is the origin and its length runs along +Z.
// Turning the quaternion's axis by the rest rotation carries one into the other.
#include "dancer/pose_solver.h"

#include <algorithm>
#include <cmath>

#include "math/matrix4.h"
#include "math/quaternion.h"

namespace vorel {

namespace {

constexpr float RadiansToDegrees = 180.0f / 3.14159265358979f;
// How far above a raised thigh the skirt panel in front of it stays, in degrees.
constexpr float SkirtClearance = 18.0f;

Quaternion jointRotation(const BoneLayout& bone, const JointAngles& angles) {
    const Quaternion twist(bone.twistAxis, angles.twist, true);
    const Quaternion spread(bone.spreadAxis, angles.spread, true);
    const Quaternion bend(bone.bendAxis, angles.bend, true);
    return twist.multiply(spread).multiply(bend);
}

Matrix4 restFrame(const BoneLayout& bone) {
    Matrix4 frame;
    frame.setPointFrame(bone.head, bone.tail, bone.up);
    return frame;
}

Vector3 turnInto(const Matrix4& frame, const Vector3& v) {
    return Vector3(Vector3::dot(frame.row(0), v), Vector3::dot(frame.row(1), v),
                   Vector3::dot(frame.row(2), v));
}

Vector3 rotate(const Quaternion& q, const Vector3& v) {
    const Matrix4 m = q.toMatrix4();
    return Vector3(Vector3::dot(m.row(0), v), Vector3::dot(m.row(1), v), Vector3::dot(m.row(2), v));
}

Vector3 direction(const BoneLayout& bone) {
    Vector3 d(bone.tail.x - bone.head.x, bone.tail.y - bone.head.y, bone.tail.z - bone.head.z);
    return d.normalize();
}

float angleFromDown(const Vector3& unit) {
    return std::acos(std::clamp(-unit.y, -1.0f, 1.0f)) * RadiansToDegrees;
}

// The extra flare a skirt panel needs so that no raised thigh pushes through it.
float flareForThighs(const SkeletonLayout& skeleton, const std::vector<Quaternion>& rotations,
                     const BoneLayout& panel) {
    const Vector3 panelDirection = direction(panel);
    Vector3 radial(panelDirection.x, 0.0f, panelDirection.z);
    radial.normalize();
    const float restAngle = angleFromDown(panelDirection);
    float flare = 0.0f;
    for (const char* name : {"thigh_l", "thigh_r"}) {
        const int thigh = skeleton.find(name);
        const Vector3 leg = rotate(rotations[static_cast<std::size_t>(thigh)],
                                   direction(skeleton.bones[static_cast<std::size_t>(thigh)]));
        const float across = std::sqrt(leg.x * leg.x + leg.z * leg.z);
        if (across < 1e-3f) continue;
        const float facing = (leg.x * radial.x + leg.z * radial.z) / across;
        if (facing <= 0.0f) continue;
        const float needed = (angleFromDown(leg) + SkirtClearance - restAngle) * facing;
        flare = std::max(flare, needed);
    }
    return flare;
}

bool isSkirt(const BoneLayout& bone) {
    return bone.name.rfind("skirt", 0) == 0;
}

}  // namespace

bool solvePose(const Pose& pose, const SkeletonLayout& skeleton, std::vector<BoneTransform>& out,
               std::string& error) {
    const std::size_t count = skeleton.bones.size();
    std::vector<JointAngles> angles(count);
    for (const JointSetting& joint : pose.joints) {
        const int index = skeleton.find(joint.bone);
        if (index < 0) {
            error = "a pose names the bone \"" + joint.bone + "\", which the skeleton lacks";
            return false;
        }
        angles[static_cast<std::size_t>(index)] = joint.angles;
    }
    std::vector<Quaternion> rotations(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!isSkirt(skeleton.bones[i])) rotations[i] = jointRotation(skeleton.bones[i], angles[i]);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const BoneLayout& bone = skeleton.bones[i];
        if (!isSkirt(bone)) continue;
        JointAngles panel = angles[i];
        panel.bend += pose.skirtFlare + flareForThighs(skeleton, rotations, bone);
        rotations[i] = jointRotation(bone, panel);
    }

    out.assign(count, BoneTransform{});
    for (std::size_t i = 0; i < count; ++i) {
        const Matrix4 frame = restFrame(skeleton.bones[i]);
        const Quaternion& q = rotations[i];
        const Vector3 axis = turnInto(frame, Vector3(q.x, q.y, q.z));
        out[i].rotation.set(axis.x, axis.y, axis.z, q.w);
        if (skeleton.bones[i].parent < 0) out[i].translation = turnInto(frame, pose.pelvisShift);
    }
    return true;
}

}  // namespace vorel
