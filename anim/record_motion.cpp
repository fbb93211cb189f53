// Recording a figure's blended transforms without skinning it.
#include "anim/record_motion.h"

#include <cmath>

#include "anim/active_animation.h"
#include "anim/pose_blend.h"
#include "assets/printable_name.h"
#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

bool namesAnyBone(const AnimationClip& clip, const std::vector<const BoneData*>& bones) {
    for (const BoneData* bone : bones) {
        const TrackRange tracks = clip.tracksNaming(bone->nameHash);
        if (tracks.begin() != tracks.end()) return true;
    }
    return false;
}

// How many frames the record plays: it expires once its local time is past the duration.
// Frames are counted as the figure will run them, in float, but never beyond the limit; a
// duration that is not a number never expires and counts as beyond it.
std::size_t framesToPlay(float duration, float step) {
    if (std::isnan(duration)) return MaxRecordedFrames + 1;
    std::size_t frames = 0;
    for (float time = 0.0f; time <= duration && frames <= MaxRecordedFrames; time += step) {
        ++frames;
    }
    return frames;
}

}  // namespace

std::vector<const BoneData*> bonesInWalkOrder(const ModelData& model) {
    std::vector<const BoneData*> bones;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model.rootBone.get()), pending,
              [&bones](const BoneData& bone) { bones.push_back(&bone); });
    return bones;
}

void recordFrame(Figure& figure, const std::vector<const BoneData*>& bones, float keyTime,
                 RecordedMotion& motion) {
    figure.retireExpired();
    motion.keyTimes.push_back(keyTime);
    std::vector<std::uint32_t> hashes;
    for (const BoneData* bone : bones) hashes.push_back(bone->nameHash);
    PoseBlend blend(hashes, figure.clips);
    const std::vector<BoneTransform>& blends = blend.blend(figure.playing);
    motion.transforms.insert(motion.transforms.end(), blends.begin(), blends.end());
}

bool recordAnimation(Figure& figure, const std::string& name,
                     const std::vector<const BoneData*>& bones, float step, double speed,
                     RecordedMotion& motion, std::string& problem) {
    motion = RecordedMotion{};
    motion.name = name;
    ActiveAnimation animation(name, 0.0f);
    const std::size_t playingBefore = figure.playing.size();
    const std::int32_t id = figure.startAnimation(animation);
    if (figure.playing.size() == playingBefore) {
        problem = "no animation named '" + printableName(name) + "'";
        return false;
    }
    const ActiveAnimation& record = figure.playing.back();
    const float duration = record.clip->data->header->duration;
    const std::size_t frames = framesToPlay(duration, step);
    if (frames > MaxRecordedFrames || frames * bones.size() > MaxRecordedTransforms) {
        figure.stopAnimation(id);
        problem = "animation '" + printableName(name) + "' lasts " + std::to_string(duration) +
                  " clock units: more frames than an export records";
        return false;
    }
    motion.namesBone = namesAnyBone(*record.clip, bones);
    motion.keyTimes.reserve(frames);
    motion.transforms.reserve(frames * bones.size());
    for (figure.retireExpired(); !figure.playing.empty() && motion.keyTimes.size() < frames;
         figure.retireExpired()) {
        const float keyTime = static_cast<float>(double{figure.playing.back().localTime} * speed);
        recordFrame(figure, bones, keyTime, motion);
        figure.advanceLocalTimes(step);
    }
    return true;
}

}  // namespace vorel
