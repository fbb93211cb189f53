// Mirroring of poses: left and right bones swap, and turns about the centre line reverse.
#include "dancer/pose.h"

namespace vorel {

namespace {

bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string otherSide(const std::string& bone) {
    const std::string stem = bone.substr(0, bone.size() - 2);
    if (endsWith(bone, "_l")) return stem + "_r";
    if (endsWith(bone, "_r")) return stem + "_l";
    return bone;
}

}  // namespace

Pose mirrored(const Pose& pose) {
    Pose mirror = pose;
    mirror.pelvisShift.x = -pose.pelvisShift.x;
    for (JointSetting& joint : mirror.joints) {
        const std::string swapped = otherSide(joint.bone);
        // Sided axes are already mirrored; a centre bone's lean and turn change direction.
        if (swapped == joint.bone) {
            joint.angles.spread = -joint.angles.spread;
            joint.angles.twist = -joint.angles.twist;
        }
        joint.bone = swapped;
    }
    return mirror;
}

}  // namespace vorel
