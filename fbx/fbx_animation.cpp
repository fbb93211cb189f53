// Sample times per stack, then per bone its chain posed at every time and reduced to a track.
#include "fbx/fbx_animation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "convert/joint_frames.h"
#include "convert/key_reducer.h"
#include "fbx/fbx_curve.h"
#include "fbx/fbx_transform.h"

namespace vorel {

namespace {

const KeyTolerances ExactSamples{0.0, 0.0, 0.0};

// Per model, the curve node driving each of T, R and S in one stack (-1: none).
using ChannelNodes = std::vector<std::array<int, 3>>;

ChannelNodes channelNodes(const FbxScene& scene, const FbxStack& stack) {
    ChannelNodes nodes(scene.models.size(), {-1, -1, -1});
    for (int n : stack.curveNodes) {
        const FbxCurveNode& node = scene.curveNodes[static_cast<std::size_t>(n)];
        int& slot = nodes[static_cast<std::size_t>(node.model)][static_cast<int>(node.channel)];
        if (slot < 0) slot = n;
    }
    return nodes;
}

bool hasCubicKeys(const FbxScene& scene, const FbxStack& stack) {
    for (int n : stack.curveNodes) {
        for (int c : scene.curveNodes[static_cast<std::size_t>(n)].curves) {
            if (c < 0) continue;
            for (FbxInterpolation kind : scene.curves[static_cast<std::size_t>(c)].interpolation) {
                if (kind == FbxInterpolation::Cubic) return true;
            }
        }
    }
    return false;
}

// The frame grid over the stack's span (four samples a frame where cubic keys curve between
// frames) and every key time inside it, in ticks; false when the grid has more frames than a
// channel can hold keys.
bool sampleTimes(const FbxScene& scene, const FbxStack& stack, std::vector<std::int64_t>& times,
                 LoadError& error) {
    const double samplesPerFrame = hasCubicKeys(scene, stack) ? 4.0 : 1.0;
    const double step = FbxTicksPerSecond / scene.settings.frameRate / samplesPerFrame;
    const double span = static_cast<double>(stack.localStop - stack.localStart);
    const double frames = std::floor(span / step + 1e-9) + 1.0;
    if (!(frames <= static_cast<double>(MaxKeysPerChannel) * samplesPerFrame)) {
        return fail(error, "AnimationStack '" + stack.name + "'",
                    "it spans " + std::to_string(span / FbxTicksPerSecond) +
                        " s, more frames than an animation file holds keys for");
    }
    for (double f = 0.0; f < frames; f += 1.0)
        times.push_back(stack.localStart + static_cast<std::int64_t>(std::llround(f * step)));
    times.push_back(stack.localStop);
    for (int n : stack.curveNodes) {
        for (int c : scene.curveNodes[static_cast<std::size_t>(n)].curves) {
            if (c < 0) continue;
            for (std::int64_t t : scene.curves[static_cast<std::size_t>(c)].times) {
                if (t > stack.localStart && t < stack.localStop) times.push_back(t);
            }
        }
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    return true;
}

Point3d animated(const FbxScene& scene, int node, const Point3d& value, std::int64_t time) {
    if (node < 0) return value;
    const int* curves = scene.curveNodes[static_cast<std::size_t>(node)].curves;
    double components[3] = {value.x, value.y, value.z};
    for (int c = 0; c < 3; ++c) {
        if (curves[c] >= 0 && !scene.curves[static_cast<std::size_t>(curves[c])].times.empty())
            components[c] =
                evaluateFbxCurve(scene.curves[static_cast<std::size_t>(curves[c])], time);
    }
    return {components[0], components[1], components[2]};
}

// The model's step at `time` with its curves in this stack.
AffineTransform stepAt(const FbxScene& scene, const ChannelNodes& nodes, int model,
                       std::int64_t time) {
    const FbxTransformValues& v = scene.models[static_cast<std::size_t>(model)].transform;
    const std::array<int, 3>& channel = nodes[static_cast<std::size_t>(model)];
    return fbxModelStep(scene, model,
                        fbxLocalTransform(v, animated(scene, channel[0], v.translation, time),
                                          animated(scene, channel[1], v.rotation, time),
                                          animated(scene, channel[2], v.scaling, time)));
}

class StackSampler {
  public:
    StackSampler(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                 const ImportedSkeleton& skeleton)
        : scene_(scene), rig_(rig), axes_(axes), skeleton_(skeleton) {}

    // The bone's transform at every sample time.
    std::vector<TrsTransform> boneSamples(const ChannelNodes& nodes,
                                          const std::vector<std::int64_t>& times, std::size_t bone,
                                          bool& sheared) const {
        const int model = skeleton_.boneNode[bone];
        const int parent = skeleton_.boneParent[bone];
        const AffineTransform parentRest =
            parent < 0 ? AffineTransform{} : skeleton_.restFrame[static_cast<std::size_t>(parent)];
        const AffineTransform toBone = modelToBone(skeleton_.points[bone]);
        const AffineTransform fromBone = boneToModel(skeleton_.points[bone]);
        const std::vector<int>& chain = rig_.chainToJoint[static_cast<std::size_t>(model)];
        std::vector<TrsTransform> samples(times.size());
        for (std::size_t i = 0; i < times.size(); ++i) {
            AffineTransform relative;
            for (int link : chain)
                relative =
                    AffineTransform::compose(stepAt(scene_, nodes, link, times[i]), relative);
            bool boneSheared = false;
            samples[i] = boneMotion(toBone, parentRest, axes_.matrix(relative),
                                    skeleton_.restInverse[bone], fromBone, boneSheared);
            sheared = sheared || boneSheared;
        }
        return samples;
    }

  private:
    const FbxScene& scene_;
    const FbxRig& rig_;
    const FbxAxes& axes_;
    const ImportedSkeleton& skeleton_;
};

// Clock times of the samples; a sample whose time the float clock cannot tell from the one
// before (a key a tick off the frame grid) is dropped.
std::vector<float> clockTimes(const FbxStack& stack, double speed,
                              std::vector<std::int64_t>& ticks) {
    std::vector<float> times;
    std::size_t kept = 0;
    for (std::int64_t tick : ticks) {
        const float time = static_cast<float>(static_cast<double>(tick - stack.localStart) /
                                              FbxTicksPerSecond / speed);
        if (!times.empty() && !(time > times.back())) continue;
        times.push_back(time);
        ticks[kept++] = tick;
    }
    ticks.resize(kept);
    return times;
}

bool importStack(const FbxScene& scene, const StackSampler& sampler,
                 const ImportedSkeleton& skeleton, const FbxStack& stack,
                 const AnimationImportOptions& options, ImportedAnimation& result,
                 std::vector<std::string>& warnings, LoadError& error) {
    const std::string where = "AnimationStack '" + stack.name + "'";
    std::vector<std::int64_t> ticks;
    if (!sampleTimes(scene, stack, ticks, error)) return false;
    const std::vector<float> times = clockTimes(stack, options.speed, ticks);
    const ChannelNodes nodes = channelNodes(scene, stack);
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    const double frame = 1.0 / scene.settings.frameRate;
    const double seconds = std::max(
        static_cast<double>(stack.localStop - stack.localStart) / FbxTicksPerSecond, frame);
    animation->header->duration = static_cast<float>(seconds / options.speed);
    bool sheared = false;
    for (std::size_t bone = 0; bone < skeleton.boneNode.size(); ++bone) {
        const std::vector<TrsTransform> samples = sampler.boneSamples(nodes, ticks, bone, sheared);
        const KeyTolerances& tolerances =
            bone < options.boneTolerances.size() ? options.boneTolerances[bone] : ExactSamples;
        if (!appendReducedTrack(skeleton.names[bone], samples, times, tolerances, where, *animation,
                                error)) {
            return false;
        }
    }
    if (animation->tracks.size() > MaxKeysPerChannel)
        return fail(error, where, "more than 65535 animated joints");
    if (sheared) {
        warnings.push_back("animation '" + stack.name +
                           "': a non-uniform scale turned into a bone's frame is kept only "
                           "approximately");
    }
    animation->header->trackCount = static_cast<std::uint16_t>(animation->tracks.size());
    result.name = stack.name.empty() ? "animation" : stack.name;
    result.keyTimes = distinctKeyTimes(*animation);
    result.data = std::move(animation);
    return true;
}

}  // namespace

bool importFbxAnimations(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                         const ImportedSkeleton& skeleton, const AnimationImportOptions& options,
                         std::vector<ImportedAnimation>& animations,
                         std::vector<std::string>& warnings, LoadError& error) {
    const StackSampler sampler(scene, rig, axes, skeleton);
    for (const FbxStack& stack : scene.stacks) {
        ImportedAnimation animation;
        if (!importStack(scene, sampler, skeleton, stack, options, animation, warnings, error))
            return false;
        animations.push_back(std::move(animation));
    }
    return true;
}

}  // namespace vorel
