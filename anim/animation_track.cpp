// AnimationTrack: a TrackLanes of one track.
#include "anim/animation_track.h"

namespace vorel {

AnimationTrack::AnimationTrack(const TrackData* trackData)
    : data(trackData), lanes_(std::vector<const TrackData*>{trackData}) {}

BoneTransform AnimationTrack::sample(float localTime) {
    lanes_.sample(localTime);
    return lanes_.pose(0);
}

}  // namespace vorel
