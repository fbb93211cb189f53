// The influence checks and the weight normalisation shared by the model loader, the writers
// and vorel-inspect check.
#include "assets/vertex_influences.h"

#include <cmath>
#include <sstream>

namespace vorel {

namespace {

// Far above the rounding of a sum of four floats near 1, far below any intended difference.
constexpr double SumTolerance = 1e-6;

std::string numberText(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

double weightSum(const VertexInfluences& influences) {
    double sum = 0.0;
    for (int i = 0; i < influences.count; ++i) sum += double{influences.influences[i].weight};
    return sum;
}

}  // namespace

std::string influenceProblem(const VertexInfluences& influences, std::size_t boneCount) {
    if (influences.count < 1 || influences.count > MaxInfluences) {
        return "influence count " + std::to_string(influences.count) + " is outside [1, " +
               std::to_string(MaxInfluences) + "]";
    }
    for (int i = 0; i < influences.count; ++i) {
        const Influence& influence = influences.influences[i];
        const std::string which = "influence " + std::to_string(i);
        if (influence.bone < 0 || static_cast<std::size_t>(influence.bone) >= boneCount) {
            return which + " names bone " + std::to_string(influence.bone) + ", outside [0, " +
                   std::to_string(boneCount) + ")";
        }
        if (!std::isfinite(influence.weight)) {
            return which + " weight " + numberText(double{influence.weight}) + " is not finite";
        }
        if (influence.weight < 0.0f) {
            return which + " weight " + numberText(double{influence.weight}) + " is negative";
        }
    }
    const double sum = weightSum(influences);
    if (!(sum > 0.0)) return "weights sum to 0";
    return {};
}

void normaliseWeights(VertexInfluences& influences) {
    const double sum = weightSum(influences);
    if (std::fabs(sum - 1.0) <= SumTolerance) return;
    for (int i = 0; i < influences.count; ++i) {
        Influence& influence = influences.influences[i];
        influence.weight = static_cast<float>(double{influence.weight} / sum);
    }
}

}  // namespace vorel
