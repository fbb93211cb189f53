// VertexInfluences: the bones that share one weighted vertex, each with its weight, and the
// checks every reader and writer applies to them. A bone is named by its place in the model's
// pre-order bone walk (0 is the root).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorel {

// The most bones one vertex can follow.
constexpr int MaxInfluences = 4;

struct Influence {
    std::int32_t bone = 0;
    float weight = 0.0f;
};

struct VertexInfluences {
    // Influences in use, 1 to MaxInfluences once checked.
    std::int32_t count = 0;
    Influence influences[MaxInfluences];
};

// One position of a model moved by its influences instead of by a bone's vertex list.
struct WeightedVertex {
    std::int32_t vertex = 0;
    VertexInfluences influences;
};

// What is wrong with a vertex's influences, in a few words ("influence 1 weight -0.5 is
// negative"), or an empty string: the count lies in [1, MaxInfluences], every bone in
// [0, boneCount), every weight is finite and non-negative, and their sum finite and positive.
std::string influenceProblem(const VertexInfluences& influences, std::size_t boneCount);

// Scales sound weights to sum to 1 within float rounding. Weights that already do are kept
// bit for bit, so normalising again changes nothing.
void normaliseWeights(VertexInfluences& influences);

}  // namespace vorel
