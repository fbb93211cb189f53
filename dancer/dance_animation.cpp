// A track per moving bone: rotation keys at every beat, pelvis translation keys where the
// dance carries the body, and a single neutral key on every channel that does not move.
#include "dancer/dance_animation.h"

#include <cmath>

#include "assets/load_animation.h"
#include "dancer/pose_solver.h"

namespace vorel {

namespace {

SegmentMode segmentModeOf(Ease ease) {
    switch (ease) {
        case Ease::Hold:
            return SegmentMode::Constant;
        case Ease::Straight:
            return SegmentMode::Linear;
        case Ease::Smooth:
            break;
    }
    return SegmentMode::Curve;
}

// The poses of every beat, solved into per-bone transforms.
bool solveBeats(const Dance& dance, const PoseBook& poses, const SkeletonLayout& skeleton,
                std::vector<std::vector<BoneTransform>>& solved, std::string& error) {
    for (const Beat& beat : dance.beats) {
        const auto pose = poses.find(beat.pose);
        if (pose == poses.end()) {
            error = dance.name + ": no pose named \"" + beat.pose + "\"";
            return false;
        }
        solved.emplace_back();
        if (!solvePose(pose->second, skeleton, solved.back(), error)) {
            error = dance.name + ": " + error;
            return false;
        }
    }
    return true;
}

float component(const BoneTransform& t, int channel) {
    // In channel order: translation x, y, z, scale x, y, z, rotation x, y, z, w.
    const float values[ChannelCount] = {
        t.translation.x, t.translation.y, t.translation.z, t.scale.x,    t.scale.y,
        t.scale.z,       t.rotation.x,    t.rotation.y,    t.rotation.z, t.rotation.w};
    return values[channel];
}

// Flips quaternions whose sign would make the keyed components swing the long way round:
// each channel is interpolated on its own, so neighbours must lie in the same hemisphere.
void keepRotationsNear(std::vector<std::vector<BoneTransform>>& solved, std::size_t bone) {
    for (std::size_t beat = 1; beat < solved.size(); ++beat) {
        const Quaternion& before = solved[beat - 1][bone].rotation;
        Quaternion& now = solved[beat][bone].rotation;
        if (Quaternion::dot(before, now) < 0.0f) now.set(-now.x, -now.y, -now.z, -now.w);
    }
}

bool channelMoves(const std::vector<std::vector<BoneTransform>>& solved, std::size_t bone,
                  int channel) {
    for (const auto& beat : solved) {
        if (component(beat[bone], channel) != component(solved.front()[bone], channel)) return true;
    }
    return false;
}

bool boneMoves(const std::vector<std::vector<BoneTransform>>& solved, std::size_t bone) {
    for (int channel = 0; channel < ChannelCount; ++channel) {
        if (channelMoves(solved, bone, channel)) return true;
    }
    return false;
}

std::vector<Keyframe> makeChannel(const Dance& dance,
                                  const std::vector<std::vector<BoneTransform>>& solved,
                                  std::size_t bone, int channel) {
    std::vector<Keyframe> keys;
    if (!channelMoves(solved, bone, channel)) {
        Keyframe only;
        only.value = component(solved.front()[bone], channel);
        only.flags = keyFlags(SegmentMode::Linear, false);
        keys.push_back(only);
        return keys;
    }
    for (std::size_t beat = 0; beat < dance.beats.size(); ++beat) {
        Keyframe key;
        key.time = dance.beats[beat].time;
        key.value = component(solved[beat][bone], channel);
        key.flags = keyFlags(segmentModeOf(dance.beats[beat].ease), dance.tangentsInFile);
        keys.push_back(key);
    }
    if (dance.tangentsInFile) computeTangents(keys);
    return keys;
}

}  // namespace

std::unique_ptr<AnimationData> buildDanceAnimation(const Dance& dance, const PoseBook& poses,
                                                   const SkeletonLayout& skeleton,
                                                   std::string& error) {
    std::vector<std::vector<BoneTransform>> solved;
    if (!solveBeats(dance, poses, skeleton, solved, error)) return nullptr;

    auto animation = std::make_unique<AnimationData>();
    for (std::size_t bone = 0; bone < skeleton.bones.size(); ++bone) {
        keepRotationsNear(solved, bone);
        if (!boneMoves(solved, bone)) continue;
        TrackData track;
        track.name = skeleton.bones[bone].name;
        for (int channel = 0; channel < ChannelCount; ++channel) {
            track.channels[static_cast<std::size_t>(channel)] =
                makeChannel(dance, solved, bone, channel);
        }
        animation->tracks.push_back(std::move(track));
    }
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = dance.duration;
    animation->header->trackCount = static_cast<std::uint16_t>(animation->tracks.size());
    return animation;
}

}  // namespace vorel
