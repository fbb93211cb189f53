// Greedy reduction per channel group: from each kept key the segment is stretched sample by
// sample for as long as Vorel's reading of it stays within the tolerances of every sample
// inside it; the sample before the first failure is kept. The three translation channels share
// their key times, so do the three scale channels and the four rotation channels (the viewer
// normalises the interpolated quaternion, so they only make sense together).
#include "convert/key_reducer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "convert/key_interpolation.h"
#include "math/hash_name.h"
#include "math/pi.h"

namespace vorel {

namespace {

// A segment spans at most this many samples, so a long motion costs time in proportion to its
// length, not to its square.
constexpr std::size_t MaxSegmentSamples = 256;
// A quaternion component that moves less than this over the whole motion is held: the turn
// that costs is far below any angle tolerance.
constexpr double HeldQuaternionSpread = 1e-7;

enum class Group { Translation, Scale, Rotation };
constexpr std::array<Group, 3> Groups = {Group::Translation, Group::Scale, Group::Rotation};

Group groupOf(int channel) {
    return channel < 3 ? Group::Translation : channel < 6 ? Group::Scale : Group::Rotation;
}

// Squared distances and the cosine of half the angle, so that checks need no root.
struct Limits {
    double squaredLength = 0.0;
    double squaredScale = 0.0;
    // Two unit quaternions are within the angle when their |dot| is at least this.
    double cosineOfHalfAngle = 1.0;
    // How far a component may move and still be held at its first value.
    std::array<double, ChannelCount> heldSpread{};
};

Limits limitsFor(const KeyTolerances& tolerances) {
    Limits limits;
    limits.squaredLength = tolerances.length * tolerances.length;
    limits.squaredScale = tolerances.scale * tolerances.scale;
    limits.cosineOfHalfAngle = std::cos(0.5 * tolerances.angleDegrees * Pi / 180.0);
    // Half the tolerance, so that holding leaves room for the segments of the others.
    for (int c = 0; c < ChannelCount; ++c) {
        const Group group = groupOf(c);
        limits.heldSpread[static_cast<std::size_t>(c)] =
            group == Group::Translation ? 0.5 * tolerances.length
            : group == Group::Scale     ? 0.5 * tolerances.scale
                                        : HeldQuaternionSpread;
    }
    return limits;
}

// Channel c of a track (translation, scale, rotation x y z w) within a transform.
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

bool within(const TrsTransform& guess, const TrsTransform& exact, Group group,
            const Limits& limits) {
    switch (group) {
        case Group::Translation: {
            const Point3d error = difference(guess.translation, exact.translation);
            return dot(error, error) <= limits.squaredLength;
        }
        case Group::Scale: {
            const Point3d error = difference(guess.scale, exact.scale);
            return dot(error, error) <= limits.squaredScale;
        }
        case Group::Rotation:
            return std::fabs(quaternionDot(guess.rotation, exact.rotation)) >=
                   limits.cosineOfHalfAngle;
    }
    return false;
}

using HeldChannels = std::array<bool, ChannelCount>;

HeldChannels heldChannels(const std::vector<TrsTransform>& samples, const Limits& limits) {
    HeldChannels held{};
    for (int c = 0; c < ChannelCount; ++c) {
        const double start = channelValue(samples.front(), c);
        const double spread = limits.heldSpread[static_cast<std::size_t>(c)];
        held[static_cast<std::size_t>(c)] =
            std::all_of(samples.begin(), samples.end(), [&](const TrsTransform& sample) {
                return std::fabs(channelValue(sample, c) - start) <= spread;
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
        const double start = channelValue(samples.front(), c);
        for (TrsTransform& sample : keyed) channelOf(sample, c) = start;
    }
    return keyed;
}

bool groupHeld(Group group, const HeldChannels& held) {
    for (int c = 0; c < ChannelCount; ++c) {
        if (groupOf(c) == group && !held[static_cast<std::size_t>(c)]) return false;
    }
    return true;
}

struct ReductionInput {
    const std::vector<TrsTransform>& keyed;
    const std::vector<TrsTransform>& exact;
    const std::vector<float>& times;
    Group group;
    const Limits& limits;
};

// Whether Vorel's reading of the keyed segment first-last is within the limits of every
// exact sample inside it.
bool segmentReproduces(const ReductionInput& in, std::size_t first, std::size_t last) {
    const double start = in.times[first];
    const double span = static_cast<double>(in.times[last]) - start;
    for (std::size_t k = first + 1; k < last; ++k) {
        const TrsTransform guess =
            interpolateAsVorel(in.keyed[first], in.keyed[last], (in.times[k] - start) / span);
        if (!within(guess, in.exact[k], in.group, in.limits)) return false;
    }
    return true;
}

// The samples that become the group's keys: the first, the last, and each one a segment from
// the key before could not reach past.
std::vector<std::size_t> keptSamples(const ReductionInput& in) {
    const std::size_t count = in.keyed.size();
    std::vector<std::size_t> kept = {0};
    std::size_t first = 0;
    for (std::size_t last = 2; last < count; ++last) {
        if (last - first <= MaxSegmentSamples && segmentReproduces(in, first, last)) continue;
        first = last - 1;
        kept.push_back(first);
    }
    if (count > 1) kept.push_back(count - 1);
    return kept;
}

std::vector<Keyframe> channelKeys(const std::vector<TrsTransform>& keyed,
                                  const std::vector<float>& times,
                                  const std::vector<std::size_t>& kept, int channel) {
    std::vector<Keyframe> keys;
    for (std::size_t at : kept) {
        Keyframe key;
        key.time = times[at];
        key.value = static_cast<float>(channelValue(keyed[at], channel));
        key.flags = keyFlags(SegmentMode::Linear, false);
        keys.push_back(key);
    }
    const bool constant = std::all_of(keys.begin(), keys.end(), [&keys](const Keyframe& key) {
        return key.value == keys.front().value;
    });
    if (constant) keys.resize(1);
    keys.back().flags = keyFlags(SegmentMode::Constant, false);
    return keys;
}

void alignQuaternionSigns(std::vector<TrsTransform>& samples) {
    for (std::size_t i = 1; i < samples.size(); ++i)
        alignQuaternionSign(samples[i - 1], samples[i]);
}

}  // namespace

bool staysAtRest(const std::vector<TrsTransform>& samples, const KeyTolerances& tolerances) {
    const Limits limits = limitsFor(tolerances);
    const TrsTransform rest;
    return std::all_of(samples.begin(), samples.end(), [&](const TrsTransform& sample) {
        return std::all_of(Groups.begin(), Groups.end(),
                           [&](Group group) { return within(rest, sample, group, limits); });
    });
}

TrackData reduceToTrack(const std::string& name, std::vector<TrsTransform> samples,
                        const std::vector<float>& times, const KeyTolerances& tolerances) {
    alignQuaternionSigns(samples);
    const Limits limits = limitsFor(tolerances);
    const HeldChannels held = heldChannels(samples, limits);
    const std::vector<TrsTransform> keyed = keyedSamples(samples, held);
    TrackData track;
    track.name = name;
    track.nameHash = hashName(name);
    for (Group group : Groups) {
        const std::vector<std::size_t> kept =
            groupHeld(group, held) ? std::vector<std::size_t>{0}
                                   : keptSamples({keyed, samples, times, group, limits});
        for (int c = 0; c < ChannelCount; ++c) {
            if (groupOf(c) != group) continue;
            track.channels[static_cast<std::size_t>(c)] = channelKeys(keyed, times, kept, c);
        }
    }
    return track;
}

std::size_t longestChannel(const TrackData& track) {
    std::size_t longest = 0;
    for (const std::vector<Keyframe>& keys : track.channels)
        longest = std::max(longest, keys.size());
    return longest;
}

std::size_t distinctKeyTimes(const AnimationData& animation) {
    std::vector<float> times;
    for (const TrackData& track : animation.tracks) {
        for (const std::vector<Keyframe>& keys : track.channels) {
            for (const Keyframe& key : keys) times.push_back(key.time);
        }
    }
    std::sort(times.begin(), times.end());
    return static_cast<std::size_t>(std::unique(times.begin(), times.end()) - times.begin());
}

bool appendReducedTrack(const std::string& name, const std::vector<TrsTransform>& samples,
                        const std::vector<float>& times, const KeyTolerances& tolerances,
                        const std::string& where, AnimationData& animation, LoadError& error) {
    if (staysAtRest(samples, tolerances)) return true;
    TrackData track = reduceToTrack(name, samples, times, tolerances);
    if (longestChannel(track) > MaxKeysPerChannel) {
        return fail(error, where,
                    "joint '" + name + "' needs " + std::to_string(longestChannel(track)) +
                        " keys, more than the " + std::to_string(MaxKeysPerChannel) +
                        " an animation file holds");
    }
    animation.tracks.push_back(std::move(track));
    return true;
}

}  // namespace vorel
