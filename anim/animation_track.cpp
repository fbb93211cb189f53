// AnimationTrack: samples the ten channels of one track and assembles the BoneTransform, with
// the rotation brought back to unit length.
#include "anim/animation_track.h"

#include "anim/sample_channel.h"

namespace vorel {

namespace {

// What an empty channel contributes: no translation, unit scale, the identity rotation.
constexpr float NeutralValues[ChannelCount] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                               1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// Unit length, except that a zero-length rotation (all four channels 0) becomes the identity
// instead of dividing by zero.
Quaternion unitRotation(const Quaternion& sampled) {
    if (Quaternion::dot(sampled, sampled) == 0.0f) return Quaternion::Identity;
    Quaternion rotation = sampled;
    return rotation.normalize();
}

}  // namespace

AnimationTrack::AnimationTrack(const TrackData* trackData) : data(trackData) {}

BoneTransform AnimationTrack::sample(float localTime) {
    float v[ChannelCount];
    for (int c = 0; c < ChannelCount; ++c) {
        v[c] = sampleChannel(caches[c], localTime, data->channels[c], NeutralValues[c]);
    }
    BoneTransform transform;
    transform.translation.set(v[0], v[1], v[2]);
    transform.scale.set(v[3], v[4], v[5]);
    Quaternion sampled;
    sampled.set(v[6], v[7], v[8], v[9]);
    transform.rotation.assign(unitRotation(sampled), false);
    return transform;
}

}  // namespace vorel
