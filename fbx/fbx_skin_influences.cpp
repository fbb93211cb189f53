// Two passes over the clusters: count per point, then fill.
#include "fbx/fbx_skin_influences.h"

#include <string>

namespace vorel {

bool readSkinInfluences(const FbxScene& scene, const FbxSkin& skin, std::size_t pointCount,
                        FbxSkinInfluences& influences, LoadError& error) {
    influences.first.assign(pointCount + 1, 0);
    for (int c : skin.clusters) {
        const FbxCluster& cluster = scene.clusters[static_cast<std::size_t>(c)];
        if (cluster.model < 0) continue;
        for (std::int64_t index : cluster.indexes) {
            if (index < 0 || static_cast<std::uint64_t>(index) >= pointCount) {
                return fail(error,
                            "Deformer cluster of '" +
                                scene.models[static_cast<std::size_t>(cluster.model)].name + "'",
                            "vertex index " + std::to_string(index) + " is past the " +
                                std::to_string(pointCount) + " control points");
            }
            ++influences.first[static_cast<std::size_t>(index) + 1];
        }
    }
    for (std::size_t p = 0; p < pointCount; ++p) influences.first[p + 1] += influences.first[p];
    influences.cluster.resize(influences.first[pointCount]);
    influences.weight.resize(influences.first[pointCount]);
    std::vector<std::size_t> next(influences.first.begin(), influences.first.end() - 1);
    for (int c : skin.clusters) {
        const FbxCluster& cluster = scene.clusters[static_cast<std::size_t>(c)];
        if (cluster.model < 0) continue;
        for (std::size_t i = 0; i < cluster.indexes.size(); ++i) {
            const std::size_t slot = next[static_cast<std::size_t>(cluster.indexes[i])]++;
            influences.cluster[slot] = c;
            influences.weight[slot] = cluster.weights[i];
        }
    }
    return true;
}

}  // namespace vorel
