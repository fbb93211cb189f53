// computeTangents: each key's tangents from its neighbours' times and values, held negated
// with respect to the curve's direction (the sampler negates them back).
#include <cmath>

#include "assets/load_animation.h"

namespace vorel {

namespace {

Tangent halfDifference(const Keyframe& from, const Keyframe& to) {
    return Tangent{0.5f * (from.time - to.time), 0.5f * (from.value - to.value)};
}

// False when the neighbours share a time: the key then gets zero tangents and the caller
// stops, leaving every later key with the tangents it had.
bool setInteriorTangents(const Keyframe& previous, Keyframe& key, const Keyframe& next) {
    const float distance = std::fabs(previous.time - next.time);
    if (distance == 0.0f) {
        key.outTangent = Tangent{};
        key.inTangent = Tangent{};
        return false;
    }
    const float a = (previous.time - next.time) / distance;
    const float b = (previous.value - next.value) / distance;
    const float toNext = next.time - key.time;
    const float fromPrevious = key.time - previous.time;
    key.outTangent = Tangent{a * toNext, b * toNext};
    key.inTangent = Tangent{a * fromPrevious, b * fromPrevious};
    return true;
}

}  // namespace

void computeTangents(std::vector<Keyframe>& keys) {
    const std::size_t count = keys.size();
    if (count == 0) return;
    if (count == 1) {
        keys[0].inTangent = keys[0].outTangent;
        return;
    }
    keys[0].outTangent = halfDifference(keys[0], keys[1]);
    keys[0].inTangent = keys[0].outTangent;
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (!setInteriorTangents(keys[i - 1], keys[i], keys[i + 1])) return;
    }
    Keyframe& last = keys[count - 1];
    last.inTangent = halfDifference(keys[count - 2], last);
    last.outTangent = last.inTangent;
}

}  // namespace vorel
