// Merging, ordering and trimming a vertex's joint weights, and blending joint transforms.
#include "convert/joint_blend.h"

#include <algorithm>

namespace vorel {

bool keepHeaviestInfluences(std::vector<Influence>& pairs, VertexInfluences& kept) {
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Influence& a, const Influence& b) { return a.bone < b.bone; });
    std::size_t merged = 0;
    for (const Influence& pair : pairs) {
        if (!(pair.weight > 0.0f)) continue;
        if (merged > 0 && pairs[merged - 1].bone == pair.bone) {
            pairs[merged - 1].weight += pair.weight;
        } else {
            pairs[merged++] = pair;
        }
    }
    pairs.resize(merged);
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
    kept = VertexInfluences{};
    for (const Influence& influence : pairs) {
        if (kept.count == MaxInfluences) break;
        kept.influences[kept.count++] = influence;
    }
    if (kept.count > 0) normaliseWeights(kept);
    return pairs.size() > static_cast<std::size_t>(MaxInfluences);
}

AffineTransform blendedTransform(const VertexInfluences& influences,
                                 const std::vector<AffineTransform>& jointTransforms) {
    double total = 0.0;
    for (int k = 0; k < influences.count; ++k) total += double{influences.influences[k].weight};
    AffineTransform blend;
    blend.linear[0][0] = blend.linear[1][1] = blend.linear[2][2] = 0.0;
    for (int k = 0; k < influences.count; ++k) {
        const double w = double{influences.influences[k].weight} / total;
        const AffineTransform& joint =
            jointTransforms[static_cast<std::size_t>(influences.influences[k].bone)];
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) blend.linear[r][c] += w * joint.linear[r][c];
        }
        blend.translation = sum(blend.translation, scaled(joint.translation, w));
    }
    return blend;
}

void warnTrimmedVertices(std::int64_t trimmedCount, std::vector<std::string>& warnings) {
    if (trimmedCount <= 0) return;
    warnings.push_back(std::to_string(trimmedCount) +
                       " vertices have more than four joints: each keeps its four heaviest, "
                       "renormalised");
}

}  // namespace vorel
