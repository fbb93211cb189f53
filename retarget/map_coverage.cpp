// mapCoverageWarnings: the limb bones are looked up by name once, when the warning is made.
#include "retarget/map_coverage.h"

namespace vorel {

namespace {

constexpr const char* LimbBones[] = {"upper_arm_l", "forearm_l", "thigh_l", "shin_l",
                                     "upper_arm_r", "forearm_r", "thigh_r", "shin_r"};

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

std::vector<std::string> limbsAtRest(const BoneList& target, const JointGroups& groups) {
    std::vector<std::string> still;
    for (const char* limb : LimbBones) {
        const int bone = target.find(limb);
        if (bone >= 0 && groups[static_cast<std::size_t>(bone)].empty()) still.push_back(limb);
    }
    return still;
}

// Joints with a child (so not mere end points) that drive no bone.
std::vector<std::string> unmappedJoints(const SourceMotion& source, const JointGroups& groups) {
    std::vector<bool> used(source.jointCount(), false);
    std::vector<bool> hasChild(source.jointCount(), false);
    for (const std::vector<int>& group : groups) {
        for (const int joint : group) used[static_cast<std::size_t>(joint)] = true;
    }
    for (const int parent : source.parents) {
        if (parent >= 0) hasChild[static_cast<std::size_t>(parent)] = true;
    }
    std::vector<std::string> unmapped;
    for (std::size_t j = 0; j < source.jointCount(); ++j) {
        if (hasChild[j] && !used[j]) unmapped.push_back(source.names[j]);
    }
    return unmapped;
}

std::vector<std::string> bonesAtRest(const BoneList& target, const JointGroups& groups) {
    std::vector<std::string> still;
    for (std::size_t b = 0; b < target.bones.size(); ++b) {
        if (groups[b].empty()) still.push_back(target.bones[b]->name);
    }
    return still;
}

std::size_t drivenBones(const JointGroups& groups) {
    std::size_t driven = 0;
    for (const std::vector<int>& group : groups) driven += group.empty() ? 0 : 1;
    return driven;
}

}  // namespace

std::vector<std::string> mapCoverageWarnings(const BoneMap& map, const SourceMotion& source,
                                             const BoneList& target, const JointGroups& groups) {
    const std::vector<std::string> limbs = limbsAtRest(target, groups);
    if (limbs.empty()) return {};
    return {map.origin + " drives only " + std::to_string(drivenBones(groups)) + " of the " +
                std::to_string(target.bones.size()) + " bones, and the limbs " + listed(limbs) +
                " stay at rest: give a map of this source's joints with --map FILE",
            "source joints left unmapped: " + listed(unmappedJoints(source, groups)),
            "target bones the map leaves out: " + listed(bonesAtRest(target, groups))};
}

}  // namespace vorel
