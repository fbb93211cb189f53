// Forward kinematics of a BvhMotion: one frame's channels into joint transforms.
#include "bvh/bvh_kinematics.h"

#include <cmath>

#include "math/pi.h"

namespace vorel {

namespace {

constexpr double RadiansPerDegree = Pi / 180.0;

float radians(float degrees) {
    return static_cast<float>(double{degrees} * RadiansPerDegree);
}

}  // namespace

Matrix4 bvhLocalTransform(const BvhMotion& motion, int joint, int frame) {
    const BvhJoint& bvhJoint = motion.joints[static_cast<std::size_t>(joint)];
    const float* values = nullptr;
    if (frame >= 0) {
        values = motion.values.data() +
                 static_cast<std::size_t>(frame) * static_cast<std::size_t>(motion.valuesPerFrame) +
                 static_cast<std::size_t>(bvhJoint.firstValue);
    }
    Vector3 translation = bvhJoint.offset;
    Matrix4 local;
    // rotateX and its kin multiply from the left, so walking the channels from the last
    // builds R1 * R2 * R3 with the last listed acting first.
    for (std::size_t c = bvhJoint.channels.size(); c-- > 0;) {
        const float value = values != nullptr ? values[c] : 0.0f;
        switch (bvhJoint.channels[c]) {
            case BvhChannel::Xposition:
                translation.x += value;
                break;
            case BvhChannel::Yposition:
                translation.y += value;
                break;
            case BvhChannel::Zposition:
                translation.z += value;
                break;
            case BvhChannel::Xrotation:
                local.rotateX(radians(value));
                break;
            case BvhChannel::Yrotation:
                local.rotateY(radians(value));
                break;
            case BvhChannel::Zrotation:
                local.rotateZ(radians(value));
                break;
        }
    }
    local.setColumn(3, translation.x, translation.y, translation.z);
    return local;
}

void bvhWorldTransforms(const BvhMotion& motion, int frame, std::vector<Matrix4>& world) {
    world.resize(motion.joints.size());
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const Matrix4 local = bvhLocalTransform(motion, static_cast<int>(j), frame);
        const int parent = motion.joints[j].parent;
        world[j] =
            parent < 0 ? local : composeAffine(local, world[static_cast<std::size_t>(parent)]);
    }
}

}  // namespace vorel
