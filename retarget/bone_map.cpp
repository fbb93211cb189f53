// The built-in maps, the map file's reader, and the pairing of a map's names with a source
// and a target.
#include "retarget/bone_map.h"

#include <algorithm>
#include <sstream>
#include <unordered_map>

#include "assets/file_bytes.h"

namespace vorel {

namespace {

struct Pair {
    const char* source;
    const char* target;
};

// CMU names onto the dancer; LowerBack and Neck sit on Hips and Spine1 with no length of
// their own, so they join the bone they start.
constexpr Pair CmuPairs[] = {
    {"Hips", "pelvis"},
    {"LowerBack", "pelvis"},
    {"Spine", "spine"},
    {"Spine1", "chest"},
    {"Neck", "chest"},
    {"Neck1", "neck"},
    {"Head", "head"},
    {"LeftShoulder", "shoulder_l"},
    {"LeftArm", "upper_arm_l"},
    {"LeftForeArm", "forearm_l"},
    {"LeftHand", "hand_l"},
    {"LeftUpLeg", "thigh_l"},
    {"LeftLeg", "shin_l"},
    {"LeftFoot", "foot_l"},
    {"LeftToeBase", "foot_l"},
    {"RightShoulder", "shoulder_r"},
    {"RightArm", "upper_arm_r"},
    {"RightForeArm", "forearm_r"},
    {"RightHand", "hand_r"},
    {"RightUpLeg", "thigh_r"},
    {"RightLeg", "shin_r"},
    {"RightFoot", "foot_r"},
    {"RightToeBase", "foot_r"},
};

constexpr Pair MixamoPairs[] = {
    {"mixamorig:Hips", "pelvis"},
    {"mixamorig:Spine", "spine"},
    {"mixamorig:Spine1", "chest"},
    {"mixamorig:Spine2", "chest"},
    {"mixamorig:Neck", "neck"},
    {"mixamorig:Head", "head"},
    {"mixamorig:LeftShoulder", "shoulder_l"},
    {"mixamorig:LeftArm", "upper_arm_l"},
    {"mixamorig:LeftForeArm", "forearm_l"},
    {"mixamorig:LeftHand", "hand_l"},
    {"mixamorig:LeftUpLeg", "thigh_l"},
    {"mixamorig:LeftLeg", "shin_l"},
    {"mixamorig:LeftFoot", "foot_l"},
    {"mixamorig:LeftToeBase", "foot_l"},
    {"mixamorig:RightShoulder", "shoulder_r"},
    {"mixamorig:RightArm", "upper_arm_r"},
    {"mixamorig:RightForeArm", "forearm_r"},
    {"mixamorig:RightHand", "hand_r"},
    {"mixamorig:RightUpLeg", "thigh_r"},
    {"mixamorig:RightLeg", "shin_r"},
    {"mixamorig:RightFoot", "foot_r"},
    {"mixamorig:RightToeBase", "foot_r"},
};

template <std::size_t N>
BoneMap builtInMap(const char* origin, const Pair (&pairs)[N]) {
    BoneMap map;
    map.origin = origin;
    map.builtIn = true;
    for (const Pair& pair : pairs) map.entries.push_back({pair.source, pair.target, 0});
    return map;
}

std::size_t namedJoints(const BoneMap& map, const SourceMotion& source) {
    return static_cast<std::size_t>(std::count_if(
        map.entries.begin(), map.entries.end(),
        [&source](const BoneMapEntry& entry) { return source.find(entry.source) >= 0; }));
}

bool fail(LoadError& error, const BoneMap& map, int line, const std::string& message) {
    error.file = map.origin;
    return fail(error, line > 0 ? "line " + std::to_string(line) : "", message);
}

std::unordered_map<std::string, int> firstIndexOfEachName(const std::vector<std::string>& names) {
    std::unordered_map<std::string, int> index;
    for (std::size_t i = 0; i < names.size(); ++i) index.emplace(names[i], static_cast<int>(i));
    return index;
}

// Orders one bone's joints from the root outwards; false when they are not on one chain.
bool orderChain(const SourceMotion& source, const std::vector<int>& depths,
                std::vector<int>& joints) {
    std::sort(joints.begin(), joints.end(), [&depths](int a, int b) {
        return depths[static_cast<std::size_t>(a)] < depths[static_cast<std::size_t>(b)];
    });
    for (std::size_t k = 1; k < joints.size(); ++k) {
        if (!isAncestorOrSelf(source.parents, depths, joints[k - 1], joints[k]) ||
            joints[k - 1] == joints[k]) {
            return false;
        }
    }
    return true;
}

}  // namespace

BoneMap cmuBoneMap() {
    return builtInMap("the built-in CMU map", CmuPairs);
}

BoneMap mixamoBoneMap() {
    return builtInMap("the built-in mixamorig map", MixamoPairs);
}

BoneMap builtInMapFor(const SourceMotion& source) {
    BoneMap cmu = cmuBoneMap();
    BoneMap mixamo = mixamoBoneMap();
    return namedJoints(mixamo, source) > namedJoints(cmu, source) ? mixamo : cmu;
}

bool parseBoneMap(const std::string& text, const std::string& path, BoneMap& map,
                  LoadError& error) {
    map = BoneMap{};
    map.origin = path;
    std::istringstream lines(text);
    std::string line;
    std::unordered_map<std::string, int> lineOfSource;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::size_t comment = line.find('#');
        if (comment != std::string::npos) line.resize(comment);
        std::istringstream words(line);
        std::string source, target, extra;
        if (!(words >> source)) continue;
        if (!(words >> target) || (words >> extra)) {
            return fail(error, map, number, "expected two names, SOURCE_BONE TARGET_BONE");
        }
        const auto earlier = lineOfSource.emplace(source, number);
        if (!earlier.second) {
            return fail(error, map, number,
                        "source bone '" + source + "' is already mapped on line " +
                            std::to_string(earlier.first->second));
        }
        map.entries.push_back({source, target, number});
    }
    if (map.entries.empty()) return fail(error, map, 0, "the map pairs no bones");
    return true;
}

bool readBoneMapFile(const std::string& path, BoneMap& map, LoadError& error) {
    std::string text;
    if (!readFileBytes(path, text, &error)) return false;
    return parseBoneMap(text, path, map, error);
}

bool resolveBoneMap(const BoneMap& map, const SourceMotion& source, const BoneList& target,
                    JointGroups& groups, LoadError& error) {
    groups.assign(target.bones.size(), {});
    bool any = false;
    bool anySource = false;
    // Indexed once: a long map over a large skeleton stays linear.
    const std::unordered_map<std::string, int> joints = firstIndexOfEachName(source.names);
    std::vector<std::string> boneNames;
    for (const BoneData* bone : target.bones) boneNames.push_back(bone->name);
    const std::unordered_map<std::string, int> bones = firstIndexOfEachName(boneNames);
    for (const BoneMapEntry& entry : map.entries) {
        const auto foundJoint = joints.find(entry.source);
        const auto foundBone = bones.find(entry.target);
        const int joint = foundJoint == joints.end() ? -1 : foundJoint->second;
        const int bone = foundBone == bones.end() ? -1 : foundBone->second;
        if (!map.builtIn && joint < 0) {
            return fail(error, map, entry.line,
                        "the source has no bone named '" + entry.source + "'");
        }
        if (!map.builtIn && bone < 0) {
            return fail(error, map, entry.line,
                        "the target has no bone named '" + entry.target + "'");
        }
        anySource = anySource || joint >= 0;
        if (joint < 0 || bone < 0) continue;
        groups[static_cast<std::size_t>(bone)].push_back(joint);
        any = true;
    }
    if (!anySource) {
        return fail(
            error, map, 0,
            "the source has none of the bones " + map.origin + " names (give a map with --map)");
    }
    if (!any) {
        return fail(
            error, map, 0,
            "the target has none of the bones " + map.origin + " drives (give a map with --map)");
    }
    const std::vector<int> depths = jointDepths(source.parents);
    for (std::size_t b = 0; b < groups.size(); ++b) {
        if (!orderChain(source, depths, groups[b])) {
            return fail(error, map, 0,
                        "the source bones mapped onto '" + target.bones[b]->name +
                            "' do not lie on one chain");
        }
    }
    return true;
}

}  // namespace vorel
