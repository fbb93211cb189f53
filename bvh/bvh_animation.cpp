// The capture's frames as bone tracks: each bone's transform M = A * R_parent * L(f) *
// R^-1 * B at every frame (joint_frames.h), reduced to keys by the shared key reducer.
#include "bvh/bvh_animation.h"

#include <algorithm>
#include <limits>

#include "bvh/bvh_kinematics.h"
#include "convert/joint_frames.h"
#include "convert/key_reducer.h"

namespace vorel {

namespace {

// The key count of one channel in an animation file is 16 bits.
// The bone's transform at every frame.
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
    }
    return samples;
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

// Appends the bone's track unless the bone never leaves its rest;
// false, with error set, when it needs more keys than a channel holds.
bool addBoneTrack(const BvhMotion& motion, const BvhFigure& figure, std::size_t bone,
                  const KeyTolerances& tolerances, const std::vector<float>& times,
                  AnimationData& animation, LoadError& error) {
    const std::vector<TrsTransform> samples = boneSamples(motion, figure, bone);
    if (staysAtRest(samples, tolerances)) return true;
    const std::string& name = figure.skeleton.names[bone];
    TrackData track = reduceToTrack(name, samples, times, tolerances);
    if (longestChannel(track) > MaxKeysPerChannel) {
        error.message = "joint '" + name + "' needs " + std::to_string(longestChannel(track)) +
                        " keys, more than the " + std::to_string(MaxKeysPerChannel) +
                        " an animation file holds";
        return false;
    }
    animation.tracks.push_back(std::move(track));
    return true;
}

}  // namespace

bool buildBvhAnimation(const BvhMotion& motion, const BvhFigure& figure,
                       const AnimationImportOptions& options, ImportedAnimation& animation,
                       LoadError& error) {
    std::vector<float> times;
    if (!clockTimes(motion, options.speed, times, error)) return false;
    auto data = std::make_unique<AnimationData>();
    data->header = std::make_unique<AnimationHeader>();
    data->header->magic = AnimationMagic;
    const int spannedFrames = std::max(motion.frameCount - 1, 1);
    data->header->duration = static_cast<float>(spannedFrames * motion.frameTime / options.speed);
    for (std::size_t bone = 0; bone < figure.skeleton.boneNode.size(); ++bone) {
        if (!addBoneTrack(motion, figure, bone, options.tolerances, times, *data, error)) {
            return false;
        }
    }
    if (data->tracks.size() > MaxKeysPerChannel) {
        error.message = std::to_string(data->tracks.size()) +
                        " moving joints, more than an animation file holds";
        return false;
    }
    data->header->trackCount = static_cast<std::uint16_t>(data->tracks.size());
    animation.keyTimes = distinctKeyTimes(*data);
    animation.data = std::move(data);
    return true;
}

}  // namespace vorel
