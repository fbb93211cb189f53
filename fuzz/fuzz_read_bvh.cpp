// Fuzz target for the BVH reader: any text is either refused with one line naming the file and
// a line, or read into a motion whose counts, indices and values agree with one another; the
// forward kinematics then run on the rest pose and on the last frame.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bvh/bvh_kinematics.h"
#include "bvh/read_bvh.h"

namespace {

bool refusedCleanly(const vorel::BvhMotion& motion, const vorel::LoadError& error) {
    const std::string line = error.describe();
    return motion.joints.empty() && motion.values.empty() &&
           line.rfind("fuzz.bvh: line ", 0) == 0 && line.find('\n') == std::string::npos;
}

bool consistent(const vorel::BvhMotion& motion) {
    long long channels = 0;
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const vorel::BvhJoint& joint = motion.joints[j];
        if (joint.parent >= static_cast<int>(j) || joint.parent < -1) return false;
        if (joint.parent >= 0 && motion.joints[static_cast<std::size_t>(joint.parent)].endSite)
            return false;
        if (joint.endSite && !joint.channels.empty()) return false;
        if (joint.firstValue != channels || joint.name.empty()) return false;
        channels += static_cast<long long>(joint.channels.size());
    }
    if (motion.joints.empty() || channels != motion.valuesPerFrame || !(motion.frameTime > 0.0))
        return false;
    if (motion.values.size() !=
        static_cast<std::size_t>(motion.frameCount) * static_cast<std::size_t>(channels)) {
        return false;
    }
    for (float value : motion.values) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vorel::BvhMotion motion;
    vorel::LoadError error;
    if (!vorel::readBvh(text, "fuzz.bvh", motion, error)) {
        if (!refusedCleanly(motion, error)) std::abort();
        return 0;
    }
    if (!consistent(motion)) std::abort();
    std::vector<vorel::Matrix4> world;
    vorel::bvhWorldTransforms(motion, -1, world);
    if (world.size() != motion.joints.size()) std::abort();
    if (motion.frameCount > 0) vorel::bvhWorldTransforms(motion, motion.frameCount - 1, world);
    return 0;
}
