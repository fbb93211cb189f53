// Uniform scale and offset of a model and its animations into the fixed view.
#include "convert/fit_to_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/fixed_view.h"
#include "assets/read_bone_tree.h"
#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

Vector3 fitted(const ViewFit& fit, const Vector3& p) {
    return Vector3(fit.scale * p.x + fit.offset.x, fit.scale * p.y + fit.offset.y,
                   fit.scale * p.z + fit.offset.z);
}

// The fit at `scale`: the lowest point on the ground line, the middle of x and z on the axis.
ViewFit fitAtScale(float scale, const Vector3& low, const Vector3& high) {
    ViewFit fit;
    fit.scale = scale;
    // In double: the middle of floats near the float limit overflows a float.
    const double wide = scale;
    fit.offset.set(static_cast<float>(-wide * (0.5 * (static_cast<double>(low.x) + high.x))),
                   static_cast<float>(ViewGroundHeight - wide * low.y),
                   static_cast<float>(-wide * (0.5 * (static_cast<double>(low.z) + high.z))));
    return fit;
}

bool everyPointInView(const ModelData& model, const ViewFit& fit) {
    return std::all_of(model.positions.begin(), model.positions.end(),
                       [&fit](const Vector3& p) { return insideViewAtEveryTurn(fitted(fit, p)); });
}

// Each point stays in view for every scale from 0 up to its own limit (the view's bounds are
// convex in the scale, and at scale 0 every point sits on the axis at the ground line), so
// the largest scale that keeps all of them in is found by bisection.
float largestScaleInView(const ModelData& model, float scale, const Vector3& low,
                         const Vector3& high) {
    float inside = 0.0f;
    float outside = scale;
    for (int step = 0; step < 40; ++step) {
        const float middle = 0.5f * (inside + outside);
        (everyPointInView(model, fitAtScale(middle, low, high)) ? inside : outside) = middle;
    }
    return inside;
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
    if (model.positions.empty()) return ViewFit{};
    // In double: the extent of floats near the float limit overflows a float.
    const double extent = static_cast<double>(high.y) - low.y;
    const bool sized = extent > 0.0 && std::isfinite(height / extent);
    ViewFit fit = fitAtScale(sized ? static_cast<float>(height / extent) : 1.0f, low, high);
    if (everyPointInView(model, fit)) return fit;
    fit = fitAtScale(largestScaleInView(model, fit.scale, low, high), low, high);
    fit.narrowedToView = true;
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
