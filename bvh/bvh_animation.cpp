// The capture's frames as bone tracks: each bone's transform M = A * R_parent * L(f) *
// R^-1 * B at every frame (joint_frames.h), then a greedy pass that keeps a key only where
// the segment from the last kept key would leave a frame's transform.
#include "bvh/bvh_animation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "bvh/bvh_kinematics.h"
#include "convert/joint_frames.h"
#include "convert/key_interpolation.h"
#include "math/hash_name.h"
#include "math/pi.h"

namespace vorel {

namespace {

// The key count of one channel in an animation file is 16 bits.
constexpr std::size_t MaxKeysPerChannel = std::numeric_limits<std::uint16_t>::max();
// A segment spans at most this many frames, so the greedy pass costs a bounded amount per
// frame even where a bone holds still for the whole capture.
constexpr int MaxSegmentFrames = 16;

struct Tolerance {
    double squaredLength = 0.0;
    // Two unit quaternions are within the angle when their |dot| is at least this.
    double cosineOfHalfAngle = 1.0;
};

bool reproduces(const TrsTransform& guess, const TrsTransform& exact, const Tolerance& tolerance) {
    const Point3d error = difference(guess.translation, exact.translation);
    return dot(error, error) <= tolerance.squaredLength &&
           std::fabs(quaternionDot(guess.rotation, exact.rotation)) >= tolerance.cosineOfHalfAngle;
}

// Whether Vorel's reading of the keyed segment first-last stays within the tolerance of every
// exact frame inside it.
bool segmentReproduces(const std::vector<TrsTransform>& keyed,
                       const std::vector<TrsTransform>& exact, int first, int last,
                       const Tolerance& tolerance) {
    const double span = last - first;
    for (int f = first + 1; f < last; ++f) {
        const TrsTransform guess =
            interpolateAsVorel(keyed[static_cast<std::size_t>(first)],
                               keyed[static_cast<std::size_t>(last)], (f - first) / span);
        if (!reproduces(guess, exact[static_cast<std::size_t>(f)], tolerance)) return false;
    }
    return true;
}

// The frames whose keyed samples become keys: the first, the last, and each frame a segment
// from the key before could not reach past.
std::vector<int> keptFrames(const std::vector<TrsTransform>& keyed,
                            const std::vector<TrsTransform>& exact, const Tolerance& tolerance) {
    const int count = static_cast<int>(keyed.size());
    std::vector<int> kept = {0};
    int first = 0;
    for (int last = 2; last < count; ++last) {
        if (last - first <= MaxSegmentFrames &&
            segmentReproduces(keyed, exact, first, last, tolerance)) {
            continue;
        }
        first = last - 1;
        kept.push_back(first);
    }
    if (count > 1) kept.push_back(count - 1);
    return kept;
}

// The bone's transform at every frame, each quaternion on the side of the one before.
std::vector<TrsTransform> boneSamples(const BvhMotion& motion, const BvhFigure& figure,
                                      std::size_t bone) {
    const ImportedSkeleton& skeleton = figure.skeleton;
    const int joint = skeleton.boneNode[bone];
    const int parent = skeleton.boneParent[bone];
    const AffineTransform parentRest =
        parent < 0 ? AffineTransform{} : skeleton.restFrame[static_cast<std::size_t>(parent)];
    const AffineTransform toBone = modelToBone(skeleton.points[bone]);
    const AffineTransform fromBone = boneToModel(skeleton.points[bone]);
    std::vector<TrsTransform> samples(static_cast<std::size_t>(motion.frameCount));
    for (int f = 0; f < motion.frameCount; ++f) {
        const AffineTransform local =
            AffineTransform::fromMatrix4(bvhLocalTransform(motion, joint, f));
        bool sheared = false;
        TrsTransform& sample = samples[static_cast<std::size_t>(f)];
        sample =
            boneMotion(toBone, parentRest, local, skeleton.restInverse[bone], fromBone, sheared);
        sample.scale = {1.0, 1.0, 1.0};
        if (f > 0) alignQuaternionSign(samples[static_cast<std::size_t>(f) - 1], sample);
    }
    return samples;
}

bool isNeutral(const TrsTransform& motion, const Tolerance& tolerance) {
    return dot(motion.translation, motion.translation) <= tolerance.squaredLength &&
           std::fabs(motion.rotation.w) >= tolerance.cosineOfHalfAngle;
}

// Channel c of a Vorel track (translation, scale, rotation x y z w) within a transform.
template <typename Motion>
auto& channelOf(Motion& motion, int channel) {
    decltype(&motion.translation.x) const values[ChannelCount] = {
        &motion.translation.x, &motion.translation.y, &motion.translation.z, &motion.scale.x,
        &motion.scale.y,       &motion.scale.z,       &motion.rotation.x,    &motion.rotation.y,
        &motion.rotation.z,    &motion.rotation.w};
    return *values[channel];
}

double channelValue(const TrsTransform& motion, int channel) {
    return channelOf(motion, channel);
}

using HeldChannels = std::array<bool, ChannelCount>;

// The channels that stay so close to their first value that one held key serves: the scale
// always (a capture has none), a translation within half the length tolerance (the rounding
// noise of a turn about the joint, a slide along one axis of the bone's frame), a quaternion
// component within 1e-7.
HeldChannels heldChannels(const std::vector<TrsTransform>& samples, const Tolerance& tolerance) {
    const double translationSpread = 0.5 * std::sqrt(tolerance.squaredLength);
    HeldChannels held{};
    for (int c = 0; c < ChannelCount; ++c) {
        const double spread = c < 3 ? translationSpread : c < 6 ? -1.0 : 1e-7;
        const double start = channelValue(samples[0], c);
        held[static_cast<std::size_t>(c)] =
            spread < 0.0 || std::all_of(samples.begin(), samples.end(), [&](const TrsTransform& s) {
                return std::fabs(channelValue(s, c) - start) <= spread;
            });
    }
    return held;
}

// The samples as the keys will hold them: held channels at their first value, so the choice
// of keys accounts for what holding them costs.
std::vector<TrsTransform> keyedSamples(const std::vector<TrsTransform>& samples,
                                       const HeldChannels& held) {
    std::vector<TrsTransform> keyed = samples;
    for (int c = 0; c < ChannelCount; ++c) {
        if (!held[static_cast<std::size_t>(c)]) continue;
        for (TrsTransform& sample : keyed) channelOf(sample, c) = channelValue(samples[0], c);
    }
    return keyed;
}

TrackData buildTrack(const std::string& name, const std::vector<TrsTransform>& keyed,
                     const HeldChannels& held, const std::vector<int>& kept,
                     const std::vector<float>& frameTimes) {
    TrackData track;
    track.name = name;
    track.nameHash = hashName(name);
    for (int c = 0; c < ChannelCount; ++c) {
        std::vector<Keyframe>& keys = track.channels[static_cast<std::size_t>(c)];
        for (int f : kept) {
            Keyframe key;
            key.time = frameTimes[static_cast<std::size_t>(f)];
            key.value = static_cast<float>(channelValue(keyed[static_cast<std::size_t>(f)], c));
            key.flags = keyFlags(SegmentMode::Linear, false);
            keys.push_back(key);
            if (held[static_cast<std::size_t>(c)]) break;
        }
        keys.back().flags = keyFlags(SegmentMode::Constant, false);
    }
    return track;
}

bool clockTimes(const BvhMotion& motion, double speed, std::vector<float>& times,
                LoadError& error) {
    times.resize(static_cast<std::size_t>(motion.frameCount));
    for (int f = 0; f < motion.frameCount; ++f) {
        times[static_cast<std::size_t>(f)] = static_cast<float>(f * motion.frameTime / speed);
        if (f > 0 &&
            !(times[static_cast<std::size_t>(f)] > times[static_cast<std::size_t>(f) - 1])) {
            error.message = "frame " + std::to_string(f) +
                            " falls on the time of the frame before: the frame time is too short "
                            "for the animation clock";
            return false;
        }
    }
    return true;
}

// Appends the bone's track unless the bone never leaves its rest, marking the frames it keys;
// false, with error set, when it needs more keys than a channel holds.
bool addBoneTrack(const BvhMotion& motion, const BvhFigure& figure, std::size_t bone,
                  const Tolerance& tolerance, const std::vector<float>& times,
                  AnimationData& animation, std::vector<char>& keyFrame, LoadError& error) {
    const std::vector<TrsTransform> samples = boneSamples(motion, figure, bone);
    const bool moves = std::any_of(samples.begin(), samples.end(), [&](const TrsTransform& sample) {
        return !isNeutral(sample, tolerance);
    });
    if (!moves) return true;
    const HeldChannels held = heldChannels(samples, tolerance);
    const std::vector<TrsTransform> keyed = keyedSamples(samples, held);
    const std::vector<int> kept = keptFrames(keyed, samples, tolerance);
    const std::string& name = figure.skeleton.names[bone];
    if (kept.size() > MaxKeysPerChannel) {
        error.message = "joint '" + name + "' needs " + std::to_string(kept.size()) +
                        " keys, more than the " + std::to_string(MaxKeysPerChannel) +
                        " an animation file holds";
        return false;
    }
    for (int f : kept) keyFrame[static_cast<std::size_t>(f)] = 1;
    animation.tracks.push_back(buildTrack(name, keyed, held, kept, times));
    return true;
}

}  // namespace

bool buildBvhAnimation(const BvhMotion& motion, const BvhFigure& figure,
                       const AnimationImportOptions& options, ImportedAnimation& animation,
                       LoadError& error) {
    std::vector<float> times;
    if (!clockTimes(motion, options.speed, times, error)) return false;
    const double halfAngle = 0.5 * options.angleTolerance * Pi / 180.0;
    const Tolerance tolerance{options.lengthTolerance * options.lengthTolerance,
                              std::cos(halfAngle)};
    auto data = std::make_unique<AnimationData>();
    data->header = std::make_unique<AnimationHeader>();
    data->header->magic = AnimationMagic;
    const int spannedFrames = std::max(motion.frameCount - 1, 1);
    data->header->duration = static_cast<float>(spannedFrames * motion.frameTime / options.speed);
    std::vector<char> keyFrame(static_cast<std::size_t>(motion.frameCount), 0);
    for (std::size_t bone = 0; bone < figure.skeleton.boneNode.size(); ++bone) {
        if (!addBoneTrack(motion, figure, bone, tolerance, times, *data, keyFrame, error)) {
            return false;
        }
    }
    if (data->tracks.size() > MaxKeysPerChannel) {
        error.message = std::to_string(data->tracks.size()) +
                        " moving joints, more than an animation file holds";
        return false;
    }
    data->header->trackCount = static_cast<std::uint16_t>(data->tracks.size());
    animation.keyTimes = static_cast<std::size_t>(std::count(keyFrame.begin(), keyFrame.end(), 1));
    animation.data = std::move(data);
    return true;
}

}  // namespace vorel
