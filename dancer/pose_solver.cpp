// Joint angles are authored about model-space axes of the rest pose; a track holds rotations
// in the bone's rest frame, where the bone's head is the origin and its length runs along +Z.
// Turning the quaternion's axis by the rest rotation carries one into the other.
#include "dancer/pose_solver.h"

#include "dancer/skirt_clearance.h"
#include "math/matrix4.h"

namespace vorel {

namespace {

Matrix4 restFrame(const BoneLayout& bone) {
    Matrix4 frame;
    frame.setPointFrame(bone.head, bone.tail, bone.up);
    return frame;
}

Vector3 turnInto(const Matrix4& frame, const Vector3& v) {
    return Vector3(Vector3::dot(frame.row(0), v), Vector3::dot(frame.row(1), v),
                   Vector3::dot(frame.row(2), v));
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
        if (!isSkirtPanel(skeleton.bones[i]))
            rotations[i] = jointRotation(skeleton.bones[i], angles[i]);
    }
    const SkirtThighs thighs = findSkirtThighs(skeleton);
    for (std::size_t i = 0; i < count; ++i) {
        const BoneLayout& bone = skeleton.bones[i];
        if (isSkirtPanel(bone)) {
            rotations[i] =
                skirtPanelRotation(skeleton, thighs, rotations, bone, angles[i], pose.skirtFlare);
        }
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
