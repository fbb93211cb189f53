// Node animation to bone tracks: the file's samplers are evaluated exactly (LINEAR with
// spherical interpolation, STEP, CUBICSPLINE), every bone's transform is computed from the
// joint motion at a grid of times, the grid is refined until Vorel's linear, normalised
// interpolation between neighbouring samples stays within the tolerances, and the shared key
// reducer then drops the samples each bone's keys give back within its own tolerances (the
// chain's, convert/chain_tolerances.h).
#include "gltf/gltf_animation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "convert/joint_frames.h"
#include "convert/key_interpolation.h"
#include "convert/key_reducer.h"
#include "gltf/gltf_accessor.h"

namespace vorel {

namespace {

// Without tolerances per bone, keys drop only the samples interpolation gives back exactly.
constexpr KeyTolerances ExactSamples{0.0, 0.0, 0.0};
// The key count of one channel in an animation file is 16 bits.

enum class Path { Translation, Rotation, Scale };
enum class Interpolation { Linear, Step, Cubic };

// One checked channel: its keys and, per key, 3 or 4 values (times 3 for in/value/out).
struct NodeChannel {
    int node = 0;
    Path path = Path::Translation;
    Interpolation interpolation = Interpolation::Linear;
    std::vector<float> times;
    std::vector<float> values;
    int width = 3;
};

// The checks every channel passes, whether it is imported or skipped: its sampler and
// target node exist, and its input times are keys that increase.
bool readChannelTimes(const tinygltf::Model& model, const tinygltf::Animation& animation,
                      const tinygltf::AnimationChannel& channel, const std::string& where,
                      std::vector<float>& times, LoadError& error) {
    if (channel.sampler < 0 ||
        static_cast<std::size_t>(channel.sampler) >= animation.samplers.size()) {
        return fail(error, where, "sampler index out of range");
    }
    if (channel.target_node < 0 ||
        static_cast<std::size_t>(channel.target_node) >= model.nodes.size()) {
        return fail(error, where, "target node out of range");
    }
    const int input = animation.samplers[static_cast<std::size_t>(channel.sampler)].input;
    if (!readFloatAccessor(model, input, 1, times, error)) return false;
    if (times.empty()) return fail(error, where, "sampler input has no keys");
    for (std::size_t k = 1; k < times.size(); ++k) {
        if (!(times[k] > times[k - 1])) {
            return fail(error, jsonPointer("accessors", input),
                        "animation input decreases or repeats at key " + std::to_string(k));
        }
    }
    return true;
}

bool readChannel(const tinygltf::Model& model, const tinygltf::Animation& animation,
                 const tinygltf::AnimationChannel& channel, const std::string& where,
                 NodeChannel& result, LoadError& error) {
    if (!readChannelTimes(model, animation, channel, where, result.times, error)) return false;
    const tinygltf::AnimationSampler& sampler =
        animation.samplers[static_cast<std::size_t>(channel.sampler)];
    result.node = channel.target_node;
    result.path = channel.target_path == "rotation" ? Path::Rotation
                  : channel.target_path == "scale"  ? Path::Scale
                                                    : Path::Translation;
    result.width = result.path == Path::Rotation ? 4 : 3;
    result.interpolation = sampler.interpolation == "STEP"          ? Interpolation::Step
                           : sampler.interpolation == "CUBICSPLINE" ? Interpolation::Cubic
                                                                    : Interpolation::Linear;
    if (!readFloatAccessor(model, sampler.output, result.width, result.values, error)) return false;
    const std::size_t perKey = static_cast<std::size_t>(result.width) *
                               (result.interpolation == Interpolation::Cubic ? 3u : 1u);
    if (result.values.size() != perKey * result.times.size()) {
        return fail(error, jsonPointer("accessors", sampler.output),
                    "output count does not match the input's " +
                        std::to_string(result.times.size()) + " keys");
    }
    return true;
}

// The value of key k (for CUBICSPLINE the middle of in-tangent, value, out-tangent).
const float* keyValue(const NodeChannel& channel, std::size_t k, int part = 1) {
    if (channel.interpolation != Interpolation::Cubic)
        return &channel.values[k * static_cast<std::size_t>(channel.width)];
    return &channel.values[(3 * k + static_cast<std::size_t>(part)) *
                           static_cast<std::size_t>(channel.width)];
}

// glTF's value of the channel at time t; `leftLimit` takes a STEP key's previous value at
// the key's own time (the value just before the jump).
void sampleChannel(const NodeChannel& channel, double t, bool leftLimit, double out[4]) {
    const std::vector<float>& times = channel.times;
    const int width = channel.width;
    auto copy = [&](const float* from) {
        for (int c = 0; c < width; ++c) out[c] = from[c];
    };
    if (t <= times.front()) return copy(keyValue(channel, 0));
    if (t >= times.back() &&
        !(leftLimit && channel.interpolation == Interpolation::Step && t == times.back())) {
        return copy(keyValue(channel, times.size() - 1));
    }
    std::size_t k =
        static_cast<std::size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin()) -
        1;
    if (channel.interpolation == Interpolation::Step) {
        if (leftLimit && times[k] == t && k > 0) --k;
        return copy(keyValue(channel, k));
    }
    const double t0 = times[k];
    const double t1 = times[k + 1];
    const double dt = t1 - t0;
    const double s = (t - t0) / dt;
    if (channel.interpolation == Interpolation::Linear) {
        const float* a = keyValue(channel, k);
        const float* b = keyValue(channel, k + 1);
        if (channel.path == Path::Rotation) {
            const Quaternion4d q = slerp(normalizedQuaternion({a[0], a[1], a[2], a[3]}),
                                         normalizedQuaternion({b[0], b[1], b[2], b[3]}), s);
            out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = q.w;
            return;
        }
        for (int c = 0; c < width; ++c) out[c] = a[c] + s * (b[c] - a[c]);
        return;
    }
    const float* p0 = keyValue(channel, k, 1);
    const float* m0 = keyValue(channel, k, 2);
    const float* p1 = keyValue(channel, k + 1, 1);
    const float* m1 = keyValue(channel, k + 1, 0);
    const double s2 = s * s, s3 = s2 * s;
    for (int c = 0; c < width; ++c) {
        out[c] = (2 * s3 - 3 * s2 + 1) * p0[c] + (s3 - 2 * s2 + s) * dt * m0[c] +
                 (-2 * s3 + 3 * s2) * p1[c] + (s3 - s2) * dt * m1[c];
    }
}

// Evaluates bone transforms of one animation at any time.
class AnimationEvaluator {
  public:
    AnimationEvaluator(const GltfSceneGraph& graph, const ImportedSkeleton& skeleton,
                       std::vector<NodeChannel> channels)
        : graph_(graph),
          skeleton_(skeleton),
          channels_(std::move(channels)),
          locals_(graph.restLocal) {
        for (std::size_t b = 0; b < skeleton.boneNode.size(); ++b) {
            modelToBone_.push_back(modelToBone(skeleton.points[b]));
            boneToModel_.push_back(boneToModel(skeleton.points[b]));
        }
    }

    const std::vector<NodeChannel>& channels() const { return channels_; }

    // The node steps one evaluation takes: every node's local reset, then each bone's chain
    // up to its parent joint (a top-level bone's up to the scene root).
    std::size_t stepsPerSample() const {
        std::size_t steps = locals_.size();
        for (std::size_t b = 0; b < skeleton_.boneNode.size(); ++b) {
            const int parent = skeleton_.boneParent[b];
            const int stop = parent < 0 ? -1 : skeleton_.boneNode[static_cast<std::size_t>(parent)];
            for (int at = skeleton_.boneNode[b]; at != -1 && at != stop;
                 at = graph_.parent[static_cast<std::size_t>(at)]) {
                ++steps;
            }
        }
        return steps;
    }

    // Every bone's transform at glTF time t; `sheared` set when one is not a T*R*S.
    void evaluate(double t, bool leftLimit, std::vector<TrsTransform>& motions, bool& sheared) {
        locals_ = graph_.restLocal;
        for (const NodeChannel& channel : channels_) {
            double value[4];
            sampleChannel(channel, t, leftLimit, value);
            TrsTransform& local = locals_[static_cast<std::size_t>(channel.node)];
            if (channel.path == Path::Translation)
                local.translation = {value[0], value[1], value[2]};
            if (channel.path == Path::Scale) local.scale = {value[0], value[1], value[2]};
            if (channel.path == Path::Rotation)
                local.rotation = normalizedQuaternion({value[0], value[1], value[2], value[3]});
        }
        motions.resize(skeleton_.boneNode.size());
        sheared = false;
        for (std::size_t b = 0; b < skeleton_.boneNode.size(); ++b) {
            const int parent = skeleton_.boneParent[b];
            const int parentNode =
                parent < 0 ? -1 : skeleton_.boneNode[static_cast<std::size_t>(parent)];
            const AffineTransform relative =
                chainBelow(graph_, locals_, parentNode, skeleton_.boneNode[b]);
            const AffineTransform parentRest =
                parent < 0 ? AffineTransform{}
                           : skeleton_.restFrame[static_cast<std::size_t>(parent)];
            bool boneSheared = false;
            motions[b] = boneMotion(modelToBone_[b], parentRest, relative, skeleton_.restInverse[b],
                                    boneToModel_[b], boneSheared);
            sheared = sheared || boneSheared;
        }
    }

  private:
    const GltfSceneGraph& graph_;
    const ImportedSkeleton& skeleton_;
    std::vector<NodeChannel> channels_;
    std::vector<TrsTransform> locals_;
    std::vector<AffineTransform> modelToBone_;
    std::vector<AffineTransform> boneToModel_;
};

struct Sample {
    double time = 0.0;
    bool leftLimit = false;
    std::vector<TrsTransform> motions;
};

// NOTE: every sample holds every bone's transform, and a curve that interpolation cannot
// follow (a hostile tangent) would be split to the full depth on every segment; so the keys
// added are limited to `addedKeyBudget`, and `capped()` says when the limit was reached.
class Resampler {
  public:
    Resampler(AnimationEvaluator& evaluator, const AnimationImportOptions& options,
              std::size_t addedKeyBudget)
        : evaluator_(evaluator),
          options_(options),
          sampleTolerances_(halved(options.boneTolerances)),
          addedKeysLeft_(addedKeyBudget) {}

    bool capped() const { return capped_; }

    std::vector<Sample> run(const std::vector<std::pair<double, bool>>& grid, bool& sheared) {
        std::vector<Sample> samples;
        for (const auto& point : grid) {
            Sample sample = evaluate(point.first, point.second, sheared);
            if (!samples.empty()) {
                const Sample previous = samples.back();
                alignAll(previous, sample);
                refine(previous, sample, 0, samples, sheared);
            }
            samples.push_back(std::move(sample));
        }
        return samples;
    }

  private:
    Sample evaluate(double time, bool leftLimit, bool& sheared) {
        Sample sample;
        sample.time = time;
        sample.leftLimit = leftLimit;
        bool now = false;
        evaluator_.evaluate(time, leftLimit, sample.motions, now);
        sheared = sheared || now;
        return sample;
    }

    static void alignAll(const Sample& previous, Sample& next) {
        for (std::size_t b = 0; b < next.motions.size(); ++b)
            alignQuaternionSign(previous.motions[b], next.motions[b]);
    }

    bool withinTolerance(const Sample& a, const Sample& b, const Sample& middle, double s) const {
        for (std::size_t bone = 0; bone < middle.motions.size(); ++bone) {
            const TrsTransform guess = interpolateAsVorel(a.motions[bone], b.motions[bone], s);
            const TrsTransform& exact = middle.motions[bone];
            const KeyTolerances& tolerances =
                bone < sampleTolerances_.size() ? sampleTolerances_[bone] : options_.tolerances;
            if (length(difference(guess.translation, exact.translation)) > tolerances.length)
                return false;
            if (length(difference(guess.scale, exact.scale)) > tolerances.scale) return false;
            if (angleBetweenDegrees(guess.rotation, exact.rotation) > tolerances.angleDegrees)
                return false;
        }
        return true;
    }

    // Whether the segment from a to b reads the curve within tolerance a quarter of the way
    // in, at `middle` and three quarters in. The middle alone is not enough: normalised linear
    // interpolation of rotations meets the spherical one there exactly, however far apart the
    // two are elsewhere in the segment.
    bool segmentWithinTolerance(const Sample& a, const Sample& b, const Sample& middle,
                                bool& sheared) {
        if (!withinTolerance(a, b, middle, 0.5)) return false;
        for (const double s : {0.25, 0.75}) {
            Sample inside = evaluate(a.time + s * (b.time - a.time), false, sheared);
            alignAll(a, inside);
            if (!withinTolerance(a, b, inside, s)) return false;
        }
        return true;
    }

    // Adds keys between a and b (in time order, appended to `out`) until every segment is read
    // within tolerance. A jump (left limit to key) spans no time: no keys.
    void refine(const Sample& a, const Sample& b, int depth, std::vector<Sample>& out,
                bool& sheared) {
        const double span = b.time - a.time;
        if (depth >= MaxDepth || span <= 1e-6) return;
        Sample middle = evaluate(a.time + 0.5 * span, false, sheared);
        alignAll(a, middle);
        if (segmentWithinTolerance(a, b, middle, sheared)) return;
        if (addedKeysLeft_ == 0) {
            capped_ = true;
            return;
        }
        --addedKeysLeft_;
        refine(a, middle, depth + 1, out, sheared);
        out.push_back(middle);
        const Sample copy = middle;
        refine(copy, b, depth + 1, out, sheared);
    }

    // The samples follow the file within half of each bone's tolerance, so that the keys
    // kept from them, which stray from the samples by up to the whole of it, stay within
    // one and a half of it of the file.
    static std::vector<KeyTolerances> halved(std::vector<KeyTolerances> tolerances) {
        for (KeyTolerances& bone : tolerances) {
            bone.angleDegrees *= 0.5;
            bone.length *= 0.5;
            bone.scale *= 0.5;
        }
        return tolerances;
    }

    static constexpr int MaxDepth = 8;
    AnimationEvaluator& evaluator_;
    const AnimationImportOptions& options_;
    // Per bone, in pre-order; bones past its end take options_.tolerances.
    std::vector<KeyTolerances> sampleTolerances_;
    std::size_t addedKeysLeft_;
    bool capped_ = false;
};

// How many samples an animation may have: sixteen node steps (each sample costs
// stepsPerSample of them and holds a transform per bone) per key value in the file, or 2^18
// at the least, so that time and memory follow what the file holds.
std::size_t sampleBudget(const AnimationEvaluator& evaluator) {
    std::size_t keyValues = 0;
    for (const NodeChannel& channel : evaluator.channels()) keyValues += channel.values.size();
    return std::max<std::size_t>(std::size_t{1} << 18, 16 * keyValues) /
           std::max<std::size_t>(evaluator.stepsPerSample(), 1);
}

// Key times of every channel, plus a left-limit time just before each STEP jump.
std::vector<std::pair<double, bool>> keyGrid(const std::vector<NodeChannel>& channels) {
    std::vector<std::pair<double, bool>> grid;
    for (const NodeChannel& channel : channels) {
        for (std::size_t k = 0; k < channel.times.size(); ++k) {
            grid.emplace_back(channel.times[k], false);
            if (channel.interpolation == Interpolation::Step && k > 0)
                grid.emplace_back(channel.times[k], true);
        }
    }
    // Left limits sort before the key itself at the same time.
    std::sort(grid.begin(), grid.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    grid.erase(std::unique(grid.begin(), grid.end()), grid.end());
    if (grid.empty()) grid.emplace_back(0.0, false);
    return grid;
}

// Vorel key times: glTF seconds divided by the speed, kept strictly increasing in float
// (a left-limit key sits one float step before its jump).
std::vector<float> clockTimes(const std::vector<Sample>& samples, double speed,
                              std::vector<char>& kept) {
    std::vector<float> times;
    kept.assign(samples.size(), 0);
    float last = -std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        float time = static_cast<float>(samples[i].time / speed);
        if (samples[i].leftLimit)
            time = std::nextafter(time, -std::numeric_limits<float>::infinity());
        if (!(time > last)) continue;
        kept[i] = 1;
        times.push_back(time);
        last = time;
    }
    return times;
}

// The bone's samples at the times that became clock times.
std::vector<TrsTransform> boneSamples(const std::vector<Sample>& samples, std::size_t bone,
                                      const std::vector<char>& kept) {
    std::vector<TrsTransform> motions;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (kept[i]) motions.push_back(samples[i].motions[bone]);
    }
    return motions;
}

// The bones' tracks, reduced to the keys Vorel needs to follow the samples; false, with
// error set, when a bone needs more keys than a channel holds.
bool buildAnimation(const ImportedSkeleton& skeleton, const std::vector<Sample>& samples,
                    double lastTime, const AnimationImportOptions& options,
                    const std::string& where, ImportedAnimation& result, LoadError& error) {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = static_cast<float>(lastTime / options.speed);
    std::vector<char> kept;
    const std::vector<float> times = clockTimes(samples, options.speed, kept);
    for (std::size_t bone = 0; bone < skeleton.boneNode.size(); ++bone) {
        const std::vector<TrsTransform> motions = boneSamples(samples, bone, kept);
        const KeyTolerances& tolerances =
            bone < options.boneTolerances.size() ? options.boneTolerances[bone] : ExactSamples;
        if (!appendReducedTrack(skeleton.names[bone], motions, times, tolerances, where, *animation,
                                error)) {
            return false;
        }
    }
    if (animation->tracks.size() > MaxKeysPerChannel)
        return fail(error, where, "more than 65535 animated joints");
    animation->header->trackCount = static_cast<std::uint16_t>(animation->tracks.size());
    result.keyTimes = distinctKeyTimes(*animation);
    result.data = std::move(animation);
    return true;
}

// Nodes whose motion reaches a joint: the joints and all their ancestors.
std::vector<char> nodesMovingJoints(const GltfSceneGraph& graph, const ImportedSkeleton& skeleton) {
    std::vector<char> relevant(graph.parent.size(), 0);
    for (int node : skeleton.boneNode) {
        for (int at = node; at != -1 && !relevant[static_cast<std::size_t>(at)];
             at = graph.parent[static_cast<std::size_t>(at)]) {
            relevant[static_cast<std::size_t>(at)] = 1;
        }
    }
    return relevant;
}

bool importOne(const tinygltf::Model& model, const GltfSceneGraph& graph,
               const ImportedSkeleton& skeleton, const AnimationImportOptions& options, int index,
               const std::vector<char>& relevant, ImportedAnimation& result,
               std::vector<std::string>& warnings, LoadError& error) {
    const tinygltf::Animation& animation = model.animations[static_cast<std::size_t>(index)];
    const std::string where = jsonPointer("animations", index);
    result.name = animation.name.empty() ? "animation" + std::to_string(index) : animation.name;
    std::vector<NodeChannel> channels;
    double lastTime = 0.0;
    std::size_t weightChannels = 0;
    for (std::size_t c = 0; c < animation.channels.size(); ++c) {
        const tinygltf::AnimationChannel& channel = animation.channels[c];
        const std::string channelWhere = where + "/channels/" + std::to_string(c);
        if (channel.target_path == "weights") {
            ++weightChannels;
        } else if (channel.target_path != "translation" && channel.target_path != "rotation" &&
                   channel.target_path != "scale") {
            warnings.push_back(channelWhere + ": unknown target path '" + channel.target_path +
                               "' skipped");
            continue;
        }
        NodeChannel read;
        if (channel.target_path == "weights") {
            // Only its length counts; its values are never used.
            std::vector<float> times;
            if (!readChannelTimes(model, animation, channel, channelWhere, times, error))
                return false;
            lastTime = std::max(lastTime, static_cast<double>(times.back()));
            continue;
        }
        if (!readChannel(model, animation, channel, channelWhere, read, error)) return false;
        lastTime = std::max(lastTime, static_cast<double>(read.times.back()));
        if (relevant[static_cast<std::size_t>(read.node)]) channels.push_back(std::move(read));
    }
    if (weightChannels > 0) {
        warnings.push_back("animation '" + result.name + "': " + std::to_string(weightChannels) +
                           " morph-weight channels skipped");
    }
    AnimationEvaluator evaluator(graph, skeleton, std::move(channels));
    const std::vector<std::pair<double, bool>> grid = keyGrid(evaluator.channels());
    const std::size_t budget = sampleBudget(evaluator);
    if (grid.size() > budget) {
        return fail(error, where,
                    std::to_string(grid.size()) + " key times over " +
                        std::to_string(skeleton.boneNode.size()) +
                        " joints: more than its keys justify holding");
    }
    Resampler resampler(evaluator, options, budget - grid.size());
    bool sheared = false;
    const std::vector<Sample> samples = resampler.run(grid, sheared);
    if (resampler.capped()) {
        warnings.push_back(
            "animation '" + result.name +
            "': the key limit was reached; some curves are followed only approximately");
    }
    if (sheared) {
        warnings.push_back(
            "animation '" + result.name +
            "': a non-uniform scale turned into a bone's frame is kept only approximately");
    }
    return buildAnimation(skeleton, samples, lastTime, options, where, result, error);
}

}  // namespace

bool importAnimations(const tinygltf::Model& model, const GltfSceneGraph& graph,
                      const ImportedSkeleton& skeleton, const AnimationImportOptions& options,
                      std::vector<ImportedAnimation>& animations,
                      std::vector<std::string>& warnings, LoadError& error) {
    const std::vector<char> relevant = nodesMovingJoints(graph, skeleton);
    for (std::size_t a = 0; a < model.animations.size(); ++a) {
        ImportedAnimation imported;
        if (!importOne(model, graph, skeleton, options, static_cast<int>(a), relevant, imported,
                       warnings, error)) {
            return false;
        }
        animations.push_back(std::move(imported));
    }
    return true;
}

}  // namespace vorel
