// PoseBlend: the bindings of each clip's tracks to the bones, made once, and the per-frame
// sample and fold.
#include "anim/pose_blend.h"

namespace vorel {

namespace {

// The vectors are built in place rather than through Vector3::set, a call per vector.
void blendInto(BoneTransform& blend, const BoneTransform& sample) {
    blend.translation = Vector3(blend.translation.x + sample.translation.x,
                                blend.translation.y + sample.translation.y,
                                blend.translation.z + sample.translation.z);
    blend.scale = Vector3(blend.scale.x * sample.scale.x, blend.scale.y * sample.scale.y,
                          blend.scale.z * sample.scale.z);
    blend.rotation.multiplyInPlace(sample.rotation);
}

}  // namespace

PoseBlend::PoseBlend(const std::vector<std::uint32_t>& boneHashes,
                     const std::vector<std::unique_ptr<AnimationClip>>& clips)
    : blends_(boneHashes.size()) {
    for (const std::unique_ptr<AnimationClip>& clip : clips) {
        ClipBindings bound{clip.get(), {}};
        for (std::size_t bone = 0; bone < boneHashes.size(); ++bone) {
            for (const TrackMatch& match : clip->tracksNaming(boneHashes[bone])) {
                bound.bindings.push_back({match.track, static_cast<std::uint32_t>(bone)});
            }
        }
        clips_.push_back(std::move(bound));
    }
}

const std::vector<BoneTransform>& PoseBlend::blend(const std::list<ActiveAnimation>& playing) {
    for (BoneTransform& blend : blends_) blend = BoneTransform{};
    for (const ActiveAnimation& record : playing) {
        for (ClipBindings& bound : clips_) {
            if (bound.clip != record.clip || bound.bindings.empty()) continue;
            bound.clip->sample(record.localTime);
            for (const TrackBinding& binding : bound.bindings) {
                blendInto(blends_[binding.bone], bound.clip->pose(binding.track));
            }
        }
    }
    return blends_;
}

}  // namespace vorel
