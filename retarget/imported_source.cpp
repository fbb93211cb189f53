// Poses the imported animation frame by frame and records every joint's world.
#include "retarget/imported_source.h"

#include <algorithm>
#include <cmath>

#include "retarget/animation_poser.h"

namespace vorel {

namespace {

// Longer animations are refused rather than sampled into memory the file does not justify.
constexpr double MaxSourceSeconds = 3600.0;

// The animation of that name; the first one when the name is empty.
const ImportedAnimation* findAnimation(const ImportedSet& imported, const std::string& name) {
    for (const ImportedAnimation& animation : imported.animations) {
        if (animation.name == name || name.empty()) return &animation;
    }
    return nullptr;
}

// A bone's joint, or the end of a bone without children (like a BVH end site), so that the
// last bone of every chain still has a point to aim at.
struct SourceJoint {
    std::string name;
    int parent = -1;
    // The bone whose world matrix moves it.
    int bone = 0;
    AffineTransform rest;
};

// The joints' rest frames are the bones' rest frames (head at the origin, the bone along +Z).
std::vector<SourceJoint> sourceJoints(const BoneList& bones) {
    std::vector<SourceJoint> joints;
    std::vector<std::string> names;
    for (std::size_t b = 0; b < bones.bones.size(); ++b) {
        const BoneData& bone = *bones.bones[b];
        const AffineTransform rest = AffineTransform::fromMatrix4(bone.returnMatrix);
        joints.push_back({bone.name, bones.parents[b], static_cast<int>(b), rest});
        names.push_back(bone.name);
    }
    for (std::size_t b = 0; b < bones.bones.size(); ++b) {
        if (std::find(bones.parents.begin(), bones.parents.end(), static_cast<int>(b)) !=
            bones.parents.end())
            continue;
        const BoneData& bone = *bones.bones[b];
        std::string name = bone.name + "_end";
        while (std::find(names.begin(), names.end(), name) != names.end()) name += "_";
        names.push_back(name);
        AffineTransform alongBone;
        alongBone.translation = {0.0, 0.0,
                                 length(difference(toPoint3d(bone.tail), toPoint3d(bone.head)))};
        joints.push_back({name, static_cast<int>(b), static_cast<int>(b),
                          AffineTransform::compose(alongBone, joints[b].rest)});
    }
    return joints;
}

std::string animationList(const ImportedSet& imported) {
    std::string list;
    for (const ImportedAnimation& animation : imported.animations) {
        list += (list.empty() ? "" : ", ") + ("'" + animation.name + "'");
    }
    return list.empty() ? "none" : list;
}

}  // namespace

bool sourceFromImported(const ImportedSet& imported, const std::string& animationName,
                        const std::string& section, SourceMotion& motion, LoadError& error) {
    if (imported.staticBone)
        return fail(error, section, "the file has no skin, so no joints to follow");
    const ImportedAnimation* animation = findAnimation(imported, animationName);
    if (animation == nullptr) {
        return fail(error, section,
                    (animationName.empty() ? std::string("no animation")
                                           : "no animation named '" + animationName + "'") +
                        " (the file has " + animationList(imported) + ")");
    }
    const double duration = animation->data->header->duration;
    if (!(duration <= MaxSourceSeconds))
        return fail(error, section, "the animation is longer than an hour");
    AnimationPoser poser(*imported.model, *animation->data);
    const std::vector<SourceJoint> joints = sourceJoints(poser.bones());
    motion = SourceMotion{};
    for (const SourceJoint& joint : joints) {
        motion.names.push_back(joint.name);
        motion.parents.push_back(joint.parent);
        motion.rest.push_back(joint.rest);
    }
    motion.frameTime = ImportedSourceFrameTime;
    motion.frameCount = static_cast<int>(std::floor(duration / motion.frameTime + 1e-6)) + 1;
    if (static_cast<double>(motion.frameCount) * static_cast<double>(joints.size()) >
        MaxSourceJointFrames) {
        return fail(error, section,
                    std::to_string(motion.frameCount) + " frames of " +
                        std::to_string(joints.size()) + " joints are more than the " +
                        std::to_string(MaxSourceJointFrames) +
                        " joint transforms a retarget holds");
    }
    motion.frames.reserve(static_cast<std::size_t>(motion.frameCount) * joints.size());
    for (int f = 0; f < motion.frameCount; ++f) {
        poser.pose(static_cast<float>(f * motion.frameTime));
        for (const SourceJoint& joint : joints) {
            const AffineTransform world = AffineTransform::fromMatrix4(
                poser.boneWorlds()[static_cast<std::size_t>(joint.bone)]);
            motion.frames.push_back(AffineTransform::compose(joint.rest, world));
        }
    }
    return true;
}

}  // namespace vorel
