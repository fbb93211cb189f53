// Each bone's motion at every frame handed to the shared key reducer; bones that never leave
// their rest get no track.
#include "retarget/key_reduction.h"

#include <utility>

#include "convert/key_reducer.h"

namespace vorel {

namespace {

constexpr double FinerShare = 10.0;

float keyTime(const RetargetedMotion& motion, int frame) {
    return static_cast<float>(frame * motion.frameTime);
}

std::vector<TrsTransform> boneSamples(const RetargetedMotion& motion, std::size_t bone) {
    std::vector<TrsTransform> samples;
    samples.reserve(static_cast<std::size_t>(motion.frameCount));
    for (int f = 0; f < motion.frameCount; ++f) samples.push_back(motion.motion(f, bone));
    return samples;
}

}  // namespace

KeyTolerances toleranceForHeight(double height) {
    return retargetTolerances(height);
}

std::vector<bool> plantedLegBones(const RetargetedMotion& motion, const BoneList& target) {
    std::vector<bool> marked;
    if (!motion.planted) return marked;
    marked.assign(target.bones.size(), false);
    for (const LegContacts& leg : motion.contacts) {
        for (int b = static_cast<int>(leg.leg.foot); b >= 0;
             b = target.parents[static_cast<std::size_t>(b)])
            marked[static_cast<std::size_t>(b)] = true;
    }
    return marked;
}

ReducedAnimation buildReducedAnimation(const RetargetedMotion& motion, const BoneList& target,
                                       const KeyTolerances& tolerances,
                                       const std::vector<bool>& finer) {
    KeyTolerances fine = tolerances;
    fine.angleDegrees /= FinerShare;
    fine.length /= FinerShare;
    ReducedAnimation result;
    result.data = std::make_unique<AnimationData>();
    AnimationData& animation = *result.data;
    std::vector<float> times;
    times.reserve(static_cast<std::size_t>(motion.frameCount));
    for (int f = 0; f < motion.frameCount; ++f) times.push_back(keyTime(motion, f));
    for (std::size_t b = 0; b < motion.boneCount; ++b) {
        std::vector<TrsTransform> samples = boneSamples(motion, b);
        const KeyTolerances& kept = b < finer.size() && finer[b] ? fine : tolerances;
        if (staysAtRest(samples, kept)) continue;
        animation.tracks.push_back(
            reduceToTrack(target.bones[b]->name, std::move(samples), times, kept));
        result.keysBefore += static_cast<std::size_t>(motion.frameCount) * ChannelCount;
        for (const std::vector<Keyframe>& keys : animation.tracks.back().channels)
            result.keysAfter += keys.size();
    }
    animation.header = std::make_unique<AnimationHeader>();
    animation.header->magic = AnimationMagic;
    animation.header->duration = keyTime(motion, motion.frameCount - 1);
    animation.header->trackCount = static_cast<std::uint16_t>(animation.tracks.size());
    return result;
}

}  // namespace vorel
