// Uniform scale and offset of a model and its animations into the fixed view.
#include "interop/fit_to_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "assets/read_bone_tree.h"
#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

Vector3 fitted(const ViewFit& fit, const Vector3& p) {
    return Vector3(fit.scale * p.x + fit.offset.x, fit.scale * p.y + fit.offset.y,
                   fit.scale * p.z + fit.offset.z);
}

}  // namespace

ViewFit fitForView(const ModelData& model, float height) {
    const float big = std::numeric_limits<float>::max();
    Vector3 low(big, big, big);
    Vector3 high(-big, -big, -big);
    for (const Vector3& p : model.positions) {
        low.set(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high.set(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
    ViewFit fit;
    if (model.positions.empty()) return fit;
    // In double: the extent and the middle of floats near the float limit overflow a float.
    const double extent = static_cast<double>(high.y) - low.y;
    if (extent > 0.0 && std::isfinite(height / extent))
        fit.scale = static_cast<float>(height / extent);
    const double scale = fit.scale;
    fit.offset.set(static_cast<float>(-scale * (0.5 * (static_cast<double>(low.x) + high.x))),
                   static_cast<float>(ViewGroundHeight - scale * low.y),
                   static_cast<float>(-scale * (0.5 * (static_cast<double>(low.z) + high.z))));
    return fit;
}

void applyFit(const ViewFit& fit, ModelData& model, const std::vector<AnimationData*>& animations) {
    for (Vector3& p : model.positions) p = fitted(fit, p);
    PendingBones<BoneData> pending;
    walkBones(model.rootBone.get(), pending, [&fit](BoneData& bone) {
        bone.head = fitted(fit, bone.head);
        bone.tail = fitted(fit, bone.tail);
        bone.up = fitted(fit, bone.up);
        setRestMatrices(bone);
    });
    for (AnimationData* animation : animations) {
        for (TrackData& track : animation->tracks) {
            for (int c = 0; c < 3; ++c) {
                for (Keyframe& key : track.channels[static_cast<std::size_t>(c)])
                    key.value *= fit.scale;
            }
        }
    }
}

}  // namespace vorel
