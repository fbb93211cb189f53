#include "retarget/bvh_source.h"

#include "bvh/bvh_kinematics.h"

namespace vorel {

namespace {

void appendWorlds(const BvhMotion& bvh, int frame, std::vector<Matrix4>& scratch,
                  std::vector<AffineTransform>& out) {
    bvhWorldTransforms(bvh, frame, scratch);
    for (const Matrix4& world : scratch) out.push_back(AffineTransform::fromMatrix4(world));
}

}  // namespace

bool sourceFromBvh(const BvhMotion& bvh, const std::string& path, SourceMotion& motion,
                   LoadError& error) {
    if (static_cast<double>(bvh.frameCount) * static_cast<double>(bvh.joints.size()) >
        MaxSourceJointFrames) {
        error = LoadError{};
        error.file = path;
        error.message = std::to_string(bvh.frameCount) + " frames of " +
                        std::to_string(bvh.joints.size()) + " joints are more than the " +
                        std::to_string(MaxSourceJointFrames) + " joint transforms a retarget holds";
        return false;
    }
    motion = SourceMotion{};
    for (const BvhJoint& joint : bvh.joints) {
        motion.names.push_back(joint.name);
        motion.parents.push_back(joint.parent);
    }
    std::vector<Matrix4> scratch;
    appendWorlds(bvh, -1, scratch, motion.rest);
    motion.frameCount = bvh.frameCount;
    motion.frameTime = bvh.frameTime;
    motion.frames.reserve(static_cast<std::size_t>(bvh.frameCount) * bvh.joints.size());
    for (int f = 0; f < bvh.frameCount; ++f) appendWorlds(bvh, f, scratch, motion.frames);
    return true;
}

}  // namespace vorel
