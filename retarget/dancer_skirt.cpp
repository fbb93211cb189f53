#include "retarget/dancer_skirt.h"

#include <cmath>
#include <memory>

#include "dancer/body_proportions.h"
#include "dancer/skirt_clearance.h"

namespace vorel {

namespace {

bool near(const Vector3& a, const Vector3& b) {
    return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f &&
           std::fabs(a.z - b.z) < 1e-3f;
}

// Every bone of the layout is in the target, at the layout's place, under the same parent.
bool matchesLayout(const BoneList& target, const SkeletonLayout& layout) {
    for (const BoneLayout& bone : layout.bones) {
        const int found = target.find(bone.name);
        if (found < 0) return false;
        const BoneData& data = *target.bones[static_cast<std::size_t>(found)];
        if (!near(data.head, bone.head) || !near(data.tail, bone.tail)) return false;
        const int parent = target.parents[static_cast<std::size_t>(found)];
        const std::string parentName =
            parent < 0 ? "" : target.bones[static_cast<std::size_t>(parent)]->name;
        const std::string layoutParent =
            bone.parent < 0 ? "" : layout.bones[static_cast<std::size_t>(bone.parent)].name;
        if (parentName != layoutParent) return false;
    }
    return true;
}

Quaternion toQuaternion(const Quaternion4d& q) {
    Quaternion result;
    result.set(static_cast<float>(q.x), static_cast<float>(q.y), static_cast<float>(q.z),
               static_cast<float>(q.w));
    return result;
}

Quaternion4d toQuaternion4d(const Quaternion& q) {
    return {q.x, q.y, q.z, q.w};
}

}  // namespace

DancerSkirt::DancerSkirt(const BoneList& target) : layout_(makeSkeletonLayout(BodyProportions{})) {
    if (!matchesLayout(target, layout_)) return;
    pelvis_ = target.find("pelvis");
    layoutThighs_ = findSkirtThighs(layout_);
    for (int side = 0; side < 2; ++side) {
        thighs_[side] =
            target.find(layout_.bones[static_cast<std::size_t>(layoutThighs_.bones[side])].name);
    }
    for (std::size_t b = 0; b < layout_.bones.size(); ++b) {
        if (isSkirtPanel(layout_.bones[b])) {
            panels_.push_back({target.find(layout_.bones[b].name), static_cast<int>(b)});
        }
    }
    relative_.resize(layout_.bones.size());
}

void DancerSkirt::clear(std::vector<Quaternion4d>& worldRotations) {
    if (!active()) return;
    const Quaternion4d pelvis = worldRotations[static_cast<std::size_t>(pelvis_)];
    for (int side = 0; side < 2; ++side) {
        const Quaternion4d thigh = worldRotations[static_cast<std::size_t>(thighs_[side])];
        relative_[static_cast<std::size_t>(layoutThighs_.bones[side])] =
            toQuaternion(hamiltonProduct(conjugated(pelvis), thigh));
    }
    for (const Panel& panel : panels_) {
        const Quaternion flare = skirtPanelRotation(
            layout_, layoutThighs_, relative_,
            layout_.bones[static_cast<std::size_t>(panel.layoutBone)], JointAngles{}, 0.0f);
        worldRotations[static_cast<std::size_t>(panel.bone)] =
            normalizedQuaternion(hamiltonProduct(pelvis, toQuaternion4d(flare)));
    }
}

bool addDancerSkirtRule(const BoneList& target, RetargetOptions& options) {
    auto skirt = std::make_shared<DancerSkirt>(target);
    if (!skirt->active()) return false;
    options.adjustWorldRotations = [skirt](std::vector<Quaternion4d>& worldRotations) {
        skirt->clear(worldRotations);
    };
    return true;
}

}  // namespace vorel
