// The weighted-vertex records: a vertex index, an influence count and that many (bone, weight)
// pairs, each checked against the positions and the bones before the weights are normalised.
#include "assets/read_influences.h"

#include <string>
#include <vector>

namespace vorel {

namespace {

// A vertex index, a count byte and at least one (bone, weight) pair.
constexpr std::size_t MinimumRecordBytes = 4 + 1 + 4 + 4;

enum class VertexUse : std::uint8_t { Free, UnderBone, Weighted };

// Every position listed under a bone is marked; returns the number of bones.
std::size_t markBoneVertices(const BoneData* root, std::vector<VertexUse>& uses) {
    std::size_t boneCount = 0;
    std::vector<const BoneData*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        ++boneCount;
        for (const std::int32_t vertex : bone->vertices) {
            uses[static_cast<std::size_t>(vertex)] = VertexUse::UnderBone;
        }
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return boneCount;
}

bool readVertexIndex(ByteReader& reader, std::vector<VertexUse>& uses, std::int32_t& vertex) {
    if (!reader.readI32(vertex)) return false;
    if (vertex < 0 || static_cast<std::size_t>(vertex) >= uses.size()) {
        return reader.failLastField("vertex index " + std::to_string(vertex) + " is outside [0, " +
                                    std::to_string(uses.size()) + ")");
    }
    VertexUse& use = uses[static_cast<std::size_t>(vertex)];
    if (use != VertexUse::Free) {
        return reader.failLastField("vertex " + std::to_string(vertex) +
                                    (use == VertexUse::Weighted
                                         ? " is weighted twice"
                                         : " is weighted and also listed under a bone"));
    }
    use = VertexUse::Weighted;
    return true;
}

bool readRecord(ByteReader& reader, std::vector<VertexUse>& uses, std::size_t boneCount,
                WeightedVertex& weighted) {
    const std::size_t start = reader.offset();
    std::uint8_t count = 0;
    if (!readVertexIndex(reader, uses, weighted.vertex) || !reader.readU8(count)) return false;
    VertexInfluences& influences = weighted.influences;
    influences.count = count;
    if (count < 1 || count > MaxInfluences) {
        return reader.failLastField("vertex " + std::to_string(weighted.vertex) + ": " +
                                    influenceProblem(influences, boneCount));
    }
    for (int i = 0; i < influences.count; ++i) {
        Influence& influence = influences.influences[i];
        if (!reader.readI32(influence.bone) || !reader.readF32(influence.weight)) return false;
    }
    const std::string problem = influenceProblem(influences, boneCount);
    if (!problem.empty()) {
        return reader.failAt(start, "vertex " + std::to_string(weighted.vertex) + ": " + problem);
    }
    normaliseWeights(influences);
    return true;
}

}  // namespace

bool readInfluences(ByteReader& reader, ModelData& model) {
    reader.setSection("influences");
    std::vector<VertexUse> uses(model.positions.size(), VertexUse::Free);
    const std::size_t boneCount = markBoneVertices(model.rootBone.get(), uses);
    std::int32_t count = 0;
    if (!reader.readI32(count)) return false;
    if (count < 0) {
        return reader.failLastField("weighted vertex count is " + std::to_string(count) +
                                    ", must be at least 0");
    }
    if (!reader.canHold(count, MinimumRecordBytes, "weighted vertex")) return false;
    model.weightedVertices.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < model.weightedVertices.size(); ++i) {
        reader.setSection("weighted vertex", static_cast<std::int64_t>(i));
        if (!readRecord(reader, uses, boneCount, model.weightedVertices[i])) return false;
    }
    return true;
}

}  // namespace vorel
