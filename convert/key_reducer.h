// reduceToTrack: one bone's dense motion samples as a Vorel track that keeps only the keys
// Vorel's interpolation needs to stay within the tolerances. Every importer (BVH, glTF) and
// retargeting make their tracks with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/load_error.h"
#include "convert/affine_transform.h"
#include "convert/key_tolerances.h"

namespace vorel {

// True when every sample is within the tolerances of the rest transform (the identity), so
// the bone needs no track.
bool staysAtRest(const std::vector<TrsTransform>& samples, const KeyTolerances& tolerances);

// samples[i] is the bone's transform at clock time times[i] (strictly increasing, at least
// one sample). The translation, the scale and the rotation each choose their own keys: a
// sample becomes a key only where the straight segment from the key before could not reach
// past it with every sample inside it within the tolerances. A component that barely moves
// is held at its first value; a channel whose keys are all equal is one key. Every key runs
// a linear segment, the last a constant one. Quaternion signs may flip between samples.
TrackData reduceToTrack(const std::string& name, std::vector<TrsTransform> samples,
                        const std::vector<float>& times, const KeyTolerances& tolerances);

// The most keys any channel of the track holds.
std::size_t longestChannel(const TrackData& track);

// The most keys a channel, and the most tracks an animation, an animation file holds.
constexpr std::size_t MaxKeysPerChannel = std::numeric_limits<std::uint16_t>::max();

// Appends to `animation` the track reduceToTrack makes of bone `name`'s samples, unless the
// bone stays at rest; false, with error set at `where`, when a channel of it would need more
// keys than an animation file holds.
bool appendReducedTrack(const std::string& name, const std::vector<TrsTransform>& samples,
                        const std::vector<float>& times, const KeyTolerances& tolerances,
                        const std::string& where, AnimationData& animation, LoadError& error);

// How many different times the animation's keys fall on, over all its tracks.
std::size_t distinctKeyTimes(const AnimationData& animation);

}  // namespace vorel
