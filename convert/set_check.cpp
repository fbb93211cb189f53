// The limits of the animation file and the finiteness of every value, per part of the set.
#include "convert/set_check.h"

#include "assets/finite_values.h"
#include "assets/load_animation.h"
#include "assets/save_animation.h"
#include "assets/weighted_vertex_check.h"

namespace vorel {

namespace {

bool fail(LoadError& error, const std::string& input, const std::string& section,
          const std::string& message) {
    error = LoadError{input, section, -1, message};
    return false;
}

std::string overLimit(const AnimationData& animation) {
    if (animation.tracks.size() > MaxTracksOrKeys) {
        return std::to_string(animation.tracks.size()) + " tracks, more than the " +
               std::to_string(MaxTracksOrKeys) + " an animation file holds";
    }
    for (const TrackData& track : animation.tracks) {
        for (std::size_t c = 0; c < track.channels.size(); ++c) {
            if (track.channels[c].size() > MaxTracksOrKeys) {
                return "track '" + track.name + "' channel " + std::to_string(c) + " needs " +
                       std::to_string(track.channels[c].size()) + " keys, more than the " +
                       std::to_string(MaxTracksOrKeys) + " an animation file holds";
            }
        }
    }
    return {};
}

}  // namespace

bool checkAnimationValues(const AnimationData& animation, const std::string& name,
                          const std::string& input, LoadError& error) {
    const std::string section = "animation '" + name + "'";
    const std::string limit = overLimit(animation);
    if (!limit.empty()) return fail(error, input, section, limit);
    const std::string nonFinite = nonFiniteValue(animation);
    if (!nonFinite.empty()) {
        return fail(error, input, section, nonFinite + " is not finite (too large for a float)");
    }
    // The loader computes every key's tangents from its neighbours: keys far enough apart
    // give tangents that are not finite although every key is, so check what it will read.
    const std::unique_ptr<AnimationData> reloaded =
        loadAnimationFromBytes(encodeAnimation(animation), input);
    const std::string loadedNonFinite = reloaded ? nonFiniteValue(*reloaded) : std::string();
    if (!loadedNonFinite.empty()) {
        return fail(error, input, section,
                    loadedNonFinite +
                        " is not finite once loaded (its neighbours are too far "
                        "apart for a float tangent)");
    }
    return true;
}

bool checkSetValues(const SetToWrite& set, const std::string& input, LoadError& error) {
    const std::string nonFinite = nonFiniteValue(*set.model);
    if (!nonFinite.empty()) {
        return fail(error, input, "model '" + set.modelName + "'",
                    nonFinite + " is not finite (too large for a float)");
    }
    const std::string weights = weightedVertexProblem(*set.model);
    if (!weights.empty()) return fail(error, input, "model '" + set.modelName + "'", weights);
    for (const SetManifestEntry& entry : set.entries) {
        const SetAnimation& animation = set.animations[entry.animation];
        if (!checkAnimationValues(*animation.data, entry.name, input, error)) return false;
    }
    return true;
}

}  // namespace vorel
