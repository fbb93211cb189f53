// findLegChains: the target's legs as the bone map gives them: a thigh, a shin and a foot,
// each the parent of the next, all three driven by the map, the foot near the floor. A leg
// is what feet are planted with; arms are chains of three too, but hang well above the floor.
#pragma once

#include <string>
#include <vector>

#include "convert/affine_transform.h"
#include "retarget/bone_map.h"

namespace vorel {

struct LegChain {
    // Target bones, in BoneList order.
    std::size_t thigh = 0;
    std::size_t shin = 0;
    std::size_t foot = 0;
    // The source joints the foot follows: its ankle, and its toe (the foot's last mapped
    // joint, or the joint the foot points at when only the ankle is mapped).
    int ankle = -1;
    int toe = -1;
};

// What the finder needs of the target and the map, indexed by target bone.
struct LegSearch {
    const std::vector<int>* parents = nullptr;
    const std::vector<Point3d>* heads = nullptr;
    // The source joint each mapped bone points at (-1 for unmapped bones).
    const std::vector<int>* pointsAt = nullptr;
    const JointGroups* groups = nullptr;
    // The target's bone names, and each source joint's parent (-1 for a root), to say why a
    // foot the map drives is not a leg's.
    const std::vector<std::string>* names = nullptr;
    const std::vector<int>* sourceParents = nullptr;
    // The target's floor and the height of the bone that carries the travel, at rest.
    double ground = 0.0;
    double rootHeight = 0.0;
};

// The legs found, in bone order; when there are none, whyNone says why in a few words.
std::vector<LegChain> findLegChains(const LegSearch& search, std::string& whyNone);

}  // namespace vorel
