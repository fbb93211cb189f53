#include "tests/retarget/bone_directions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "math/pi.h"
#include "skeleton/bone_list.h"

namespace vorel {

double angleDegrees(const Point3d& a, const Point3d& b) {
    const double c = dot(a, b) / (length(a) * length(b));
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180.0 / Pi;
}

const std::vector<BoneSegment>& cmuSegments() {
    static const std::vector<BoneSegment> segments = {
        {"pelvis", "Hips", "Spine"},
        {"spine", "Spine", "Spine1"},
        {"chest", "Spine1", "Neck1"},
        {"neck", "Neck1", "Head"},
        {"head", "Head", "Head_end"},
        {"shoulder_l", "LeftShoulder", "LeftArm"},
        {"upper_arm_l", "LeftArm", "LeftForeArm"},
        {"forearm_l", "LeftForeArm", "LeftHand"},
        {"hand_l", "LeftHand", "LeftHandIndex1"},
        {"thigh_l", "LeftUpLeg", "LeftLeg"},
        {"shin_l", "LeftLeg", "LeftFoot"},
        {"foot_l", "LeftFoot", "LeftToeBase_end"},
        {"shoulder_r", "RightShoulder", "RightArm"},
        {"upper_arm_r", "RightArm", "RightForeArm"},
        {"forearm_r", "RightForeArm", "RightHand"},
        {"hand_r", "RightHand", "RightHandIndex1"},
        {"thigh_r", "RightUpLeg", "RightLeg"},
        {"shin_r", "RightLeg", "RightFoot"},
        {"foot_r", "RightFoot", "RightToeBase_end"},
    };
    return segments;
}

void compareDirections(const ModelData& target, const std::vector<Matrix4>& worlds,
                       const SourceMotion& source, int frame,
                       const std::vector<BoneSegment>& segments, WorstAngle& worst) {
    const BoneList bones = listBones(target);
    for (const BoneSegment& segment : segments) {
        const int bone = bones.find(segment.bone);
        const int from = source.find(segment.from);
        const int to = source.find(segment.to);
        ASSERT_GE(bone, 0) << segment.bone;
        ASSERT_GE(from, 0) << segment.from;
        ASSERT_GE(to, 0) << segment.to;
        const BoneData& data = *bones.bones[static_cast<std::size_t>(bone)];
        const Matrix4& world = worlds[static_cast<std::size_t>(bone)];
        const Point3d targetDirection = difference(toPoint3d(transformPoint(world, data.tail)),
                                                   toPoint3d(transformPoint(world, data.head)));
        const Point3d sourceDirection =
            difference(source.world(frame, to).translation, source.world(frame, from).translation);
        const double degrees = angleDegrees(targetDirection, sourceDirection);
        if (degrees > worst.degrees) worst = {degrees, segment.bone, frame};
    }
}

}  // namespace vorel
