// Greedy reduction: from each kept key the segment is stretched frame by frame for as long
// as every frame inside it is reproduced; the frame before the first failure is kept. The
// four rotation channels share their key times (the viewer normalises the interpolated
// quaternion, so they only make sense together); so do the three translation channels.
#include "retarget/key_reduction.h"

#include <algorithm>
#include <cmath>

#include "math/hash_name.h"

namespace vorel {

namespace {

Quaternion4d interpolatedRotation(const Quaternion4d& a, const Quaternion4d& b, double s) {
    auto mix = [s](double x, double y) { return x + s * (y - x); };
    return normalizedQuaternion({mix(a.x, b.x), mix(a.y, b.y), mix(a.z, b.z), mix(a.w, b.w)});
}

Point3d interpolatedPoint(const Point3d& a, const Point3d& b, double s) {
    return sum(a, scaled(difference(b, a), s));
}

constexpr int MaxSpan = 256;

// The frames to key, first and last always among them.
template <typename Value, typename Interpolate, typename Error>
std::vector<int> keptFrames(const std::vector<Value>& values, double tolerance, Interpolate interpolate,
                            Error error) {
    const int count = static_cast<int>(values.size());
    std::vector<int> kept{0};
    const bool still = std::all_of(values.begin(), values.end(),
                                   [&](const Value& value) { return error(values.front(), value) == 0.0; });
    if (still) {
        if (count > 1) kept.push_back(count - 1);
        return kept;
    }
    int anchor = 0;
    for (int end = 2; end < count; ++end) {
        // A segment is at most MaxSpan frames, so a long capture costs time in proportion
        // to its length, not to its square.
        bool reproduced = end - anchor <= MaxSpan;
        for (int k = anchor + 1; k < end && reproduced; ++k) {
            const double s = static_cast<double>(k - anchor) / static_cast<double>(end - anchor);
            reproduced = error(interpolate(values[static_cast<std::size_t>(anchor)],
                                           values[static_cast<std::size_t>(end)], s),
                               values[static_cast<std::size_t>(k)]) <= tolerance;
        }
        if (!reproduced) {
            anchor = end - 1;
            kept.push_back(anchor);
        }
    }
    if (count > 1) kept.push_back(count - 1);
    return kept;
}

float keyTime(const RetargetedMotion& motion, int frame) {
    return static_cast<float>(frame * motion.frameTime);
}

// One channel keyed at the kept frames; a channel that never changes is one key.
std::vector<Keyframe> channelKeys(const RetargetedMotion& motion, const std::vector<int>& frames,
                                  const std::vector<double>& values) {
    std::vector<Keyframe> keys;
    bool constant = true;
    for (int frame : frames) constant = constant && values[static_cast<std::size_t>(frame)] == values.front();
    for (int frame : constant ? std::vector<int>{0} : frames) {
        Keyframe key;
        key.time = keyTime(motion, frame);
        key.value = static_cast<float>(values[static_cast<std::size_t>(frame)]);
        key.flags = keyFlags(SegmentMode::Linear, false);
        keys.push_back(key);
    }
    keys.back().flags = keyFlags(SegmentMode::Constant, false);
    return keys;
}

// In channel order: translation x, y, z, scale x, y, z (always 1), rotation x, y, z, w.
double channelValue(const Point3d& translation, const Quaternion4d& rotation, int channel) {
    const double values[ChannelCount] = {translation.x, translation.y, translation.z, 1.0, 1.0, 1.0,
                                         rotation.x,    rotation.y,    rotation.z,    rotation.w};
    return values[channel];
}

std::vector<Keyframe> singleKey(float value) {
    Keyframe key;
    key.value = value;
    key.flags = keyFlags(SegmentMode::Constant, false);
    return {key};
}

bool moves(const RetargetedMotion& motion, std::size_t bone) {
    for (int f = 0; f < motion.frameCount; ++f) {
        const TrsTransform& m = motion.motion(f, bone);
        if (length(m.translation) > 0.0 || angleBetweenDegrees(m.rotation, Quaternion4d{}) > 1e-6) return true;
    }
    return false;
}

TrackData buildTrack(const RetargetedMotion& motion, std::size_t bone, const BoneData& data,
                     const KeyTolerances& tolerances) {
    std::vector<Quaternion4d> rotations;
    std::vector<Point3d> translations;
    for (int f = 0; f < motion.frameCount; ++f) {
        Quaternion4d q = motion.motion(f, bone).rotation;
        // Neighbouring keys on the same side, so each component interpolates the short way.
        if (!rotations.empty()) {
            const Quaternion4d& p = rotations.back();
            if (p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w < 0.0) q = {-q.x, -q.y, -q.z, -q.w};
        }
        rotations.push_back(q);
        translations.push_back(motion.motion(f, bone).translation);
    }
    const std::vector<int> rotationFrames = keptFrames(rotations, tolerances.angleDegrees, interpolatedRotation,
                                                       [](const Quaternion4d& a, const Quaternion4d& b) {
                                                           return angleBetweenDegrees(a, b);
                                                       });
    const std::vector<int> translationFrames =
        keptFrames(translations, tolerances.length, interpolatedPoint,
                   [](const Point3d& a, const Point3d& b) { return length(difference(a, b)); });
    TrackData track;
    track.name = data.name;
    track.nameHash = hashName(data.name);
    for (int c = 0; c < ChannelCount; ++c) {
        std::vector<double> values;
        for (int f = 0; f < motion.frameCount; ++f) {
            const std::size_t at = static_cast<std::size_t>(f);
            values.push_back(channelValue(translations[at], rotations[at], c));
        }
        const bool scale = c >= 3 && c < 6;
        track.channels[static_cast<std::size_t>(c)] =
            scale ? singleKey(1.0f) : channelKeys(motion, c < 3 ? translationFrames : rotationFrames, values);
    }
    return track;
}

}  // namespace

KeyTolerances toleranceForHeight(double height) {
    KeyTolerances tolerances;
    tolerances.length = 1e-4 * height;
    return tolerances;
}

ReducedAnimation buildReducedAnimation(const RetargetedMotion& motion, const BoneList& target,
                                       const KeyTolerances& tolerances) {
    ReducedAnimation result;
    result.data = std::make_unique<AnimationData>();
    AnimationData& animation = *result.data;
    for (std::size_t b = 0; b < motion.boneCount; ++b) {
        if (!moves(motion, b)) continue;
        animation.tracks.push_back(buildTrack(motion, b, *target.bones[b], tolerances));
        result.keysBefore += static_cast<std::size_t>(motion.frameCount) * ChannelCount;
        for (const std::vector<Keyframe>& keys : animation.tracks.back().channels) result.keysAfter += keys.size();
    }
    animation.header = std::make_unique<AnimationHeader>();
    animation.header->magic = AnimationMagic;
    animation.header->duration = keyTime(motion, motion.frameCount - 1);
    animation.header->trackCount = static_cast<std::uint16_t>(animation.tracks.size());
    return result;
}

}  // namespace vorel
