// AnimationClip: one AnimationTrack per TrackData of the animation, in file order.
#include "anim/animation_clip.h"

namespace vorel {

AnimationClip::AnimationClip(const AnimationData* animationData) : data(animationData) {
    tracks.reserve(animationData->tracks.size());
    for (const TrackData& track : animationData->tracks) {
        tracks.push_back(std::make_unique<AnimationTrack>(&track));
    }
}

AnimationClip::~AnimationClip() = default;

}  // namespace vorel
