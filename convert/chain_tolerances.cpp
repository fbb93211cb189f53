// Each bone's reach (how far from its head its subtree's vertices lie, those it moves alone
// and those it shares with others) and the longest chain
// through it, in two passes over the bones in pre-order and back, so the work is linear in
// bones and vertices however deep the tree.
#include "convert/chain_tolerances.h"

#include <algorithm>
#include <cmath>

#include "math/pi.h"
#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

constexpr int NoParent = -1;

struct BoneSpan {
    const BoneData* bone;
    int parent;
    // Bones from the root down to this one, this one included.
    int depth;
    // The most bones below it on one chain.
    int below = 0;
    // An upper bound of the distance from its head to its subtree's vertices.
    double reach = 0.0;
};

double distance(const Vector3& a, const Vector3& b) {
    const double x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
    return std::sqrt(x * x + y * y + z * z);
}

std::vector<BoneSpan> bonesInPreOrder(const ModelData& model) {
    std::vector<BoneSpan> bones;
    std::vector<PendingBone<const BoneData, int>> pending;
    walkBones(static_cast<const BoneData*>(model.rootBone.get()), NoParent, pending,
              [&bones, &model](const BoneData& bone, int parent) {
                  const int depth =
                      parent == NoParent ? 1 : bones[static_cast<std::size_t>(parent)].depth + 1;
                  BoneSpan span{&bone, parent, depth};
                  for (std::int32_t v : bone.vertices)
                      span.reach = std::max(
                          span.reach,
                          distance(model.positions[static_cast<std::size_t>(v)], bone.head));
                  bones.push_back(span);
                  return static_cast<int>(bones.size()) - 1;
              });
    // A weighted vertex moves with a share of each of its bones' turns, never more than all.
    // Influences the model's checks would refuse are passed over.
    for (const WeightedVertex& weighted : model.weightedVertices) {
        const auto vertex = static_cast<std::size_t>(weighted.vertex);
        if (weighted.vertex < 0 || vertex >= model.positions.size()) continue;
        for (int k = 0; k < std::min(weighted.influences.count, MaxInfluences); ++k) {
            const auto index = static_cast<std::size_t>(weighted.influences.influences[k].bone);
            if (weighted.influences.influences[k].bone < 0 || index >= bones.size()) continue;
            BoneSpan& bone = bones[index];
            bone.reach = std::max(bone.reach, distance(model.positions[vertex], bone.bone->head));
        }
    }
    return bones;
}

// Children come after their parent in pre-order, so one backward pass hands every bone's
// chain length and reach (through the heads, by the triangle inequality) up to its parent.
void gatherFromChildren(std::vector<BoneSpan>& bones) {
    for (std::size_t b = bones.size(); b-- > 0;) {
        const BoneSpan& child = bones[b];
        if (child.parent == NoParent) continue;
        BoneSpan& parent = bones[static_cast<std::size_t>(child.parent)];
        parent.below = std::max(parent.below, child.below + 1);
        parent.reach =
            std::max(parent.reach, child.reach + distance(child.bone->head, parent.bone->head));
    }
}

}  // namespace

std::vector<KeyTolerances> chainTolerances(const ModelData& model, double budget,
                                           const KeyTolerances& loosest) {
    std::vector<BoneSpan> bones = bonesInPreOrder(model);
    gatherFromChildren(bones);
    std::vector<KeyTolerances> tolerances;
    tolerances.reserve(bones.size());
    for (const BoneSpan& bone : bones) {
        const double share = budget / (3.0 * (bone.depth + bone.below));
        KeyTolerances own = loosest;
        own.length = std::min(loosest.length, share);
        if (bone.reach > 0.0) {
            own.angleDegrees = std::min(loosest.angleDegrees, share / bone.reach * 180.0 / Pi);
            own.scale = std::min(loosest.scale, share / bone.reach);
        }
        tolerances.push_back(own);
    }
    return tolerances;
}

}  // namespace vorel
