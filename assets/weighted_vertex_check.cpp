// Every weighted vertex checked in file order against the positions, the bones' lists and the
// influence rules.
#include "assets/weighted_vertex_check.h"

#include <vector>

namespace vorel {

namespace {

// Marks every position a bone lists; returns the number of bones.
std::size_t markListedVertices(const BoneData* root, std::vector<bool>& listed) {
    std::size_t boneCount = 0;
    std::vector<const BoneData*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        ++boneCount;
        for (const std::int32_t vertex : bone->vertices) {
            if (vertex >= 0 && static_cast<std::size_t>(vertex) < listed.size())
                listed[static_cast<std::size_t>(vertex)] = true;
        }
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return boneCount;
}

}  // namespace

std::string weightedVertexProblem(const ModelData& model) {
    std::vector<bool> listed(model.positions.size(), false);
    const std::size_t boneCount = markListedVertices(model.rootBone.get(), listed);
    std::vector<bool> weighted(model.positions.size(), false);
    for (const WeightedVertex& vertex : model.weightedVertices) {
        const std::string name = "vertex " + std::to_string(vertex.vertex);
        if (vertex.vertex < 0 || static_cast<std::size_t>(vertex.vertex) >= listed.size()) {
            return name + " is outside [0, " + std::to_string(listed.size()) + ")";
        }
        const auto v = static_cast<std::size_t>(vertex.vertex);
        if (weighted[v]) return name + " is weighted twice";
        if (listed[v]) return name + " is weighted and also listed under a bone";
        weighted[v] = true;
        const std::string problem = influenceProblem(vertex.influences, boneCount);
        if (!problem.empty()) return name + ": " + problem;
    }
    return {};
}

}  // namespace vorel
