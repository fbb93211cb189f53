// SkinningLists: sorting each bone's work into first moves, later moves and the normals it has
// the last word on, as runs of consecutive indices so the pass streams through the buffers.
#include "skeleton/skinning_lists.h"

#include <algorithm>
#include <cmath>

#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

constexpr std::size_t NoBone = static_cast<std::size_t>(-1);
// A normal that a blended vertex turns.
constexpr std::size_t BlendedNormal = static_cast<std::size_t>(-2);

bool isIndexOf(std::int32_t index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

// Appends the ascending indices as runs of consecutive ones, never joining a run that was
// already there (it belongs to the previous bone).
void appendRuns(const std::vector<std::int32_t>& ascending, std::vector<IndexRun>& runs) {
    const std::size_t firstNew = runs.size();
    for (const std::int32_t index : ascending) {
        if (runs.size() > firstNew && runs.back().last == index) {
            ++runs.back().last;
        } else {
            runs.push_back({index, index + 1});
        }
    }
}

// The runs of indices below size for which kept(index) holds.
template <typename Kept>
std::vector<IndexRun> runsWhere(std::size_t size, Kept kept) {
    std::vector<std::int32_t> indices;
    for (std::size_t i = 0; i < size; ++i) {
        if (kept(i)) indices.push_back(static_cast<std::int32_t>(i));
    }
    std::vector<IndexRun> runs;
    appendRuns(indices, runs);
    return runs;
}

std::size_t countBones(const BoneNode* root) {
    std::size_t count = 0;
    PendingBones<const BoneNode> pending;
    walkBones(root, pending, [&count](const BoneNode&) { ++count; });
    return count;
}

// The nonzero influences of every weighted vertex that passes its checks, and for each
// position the index of its entry in kept (-1 when the bones' lists decide). A vertex weighted
// twice keeps its first record.
std::vector<std::int32_t> resolveWeighted(const ModelData& model, std::size_t boneCount,
                                          std::vector<VertexInfluences>& kept) {
    std::vector<std::int32_t> slot(model.positions.size(), -1);
    for (const WeightedVertex& weighted : model.weightedVertices) {
        if (!isIndexOf(weighted.vertex, slot.size()) ||
            slot[static_cast<std::size_t>(weighted.vertex)] >= 0 ||
            !influenceProblem(weighted.influences, boneCount).empty()) {
            continue;
        }
        VertexInfluences nonzero;
        for (int k = 0; k < weighted.influences.count; ++k) {
            const Influence& influence = weighted.influences.influences[k];
            if (influence.weight > 0.0f) nonzero.influences[nonzero.count++] = influence;
        }
        slot[static_cast<std::size_t>(weighted.vertex)] = static_cast<std::int32_t>(kept.size());
        kept.push_back(nonzero);
    }
    return slot;
}

// Appends a blended vertex, its influences and the normals it owns (each once) to its group.
void addToGroup(std::int32_t vertex, const VertexInfluences& influences, const ModelData& model,
                const std::vector<std::int32_t>& normalOwner, WeightedGroup& group) {
    group.vertices.push_back(vertex);
    for (int k = 0; k < influences.count; ++k) {
        group.bones.push_back(influences.influences[k].bone);
        group.weights.push_back(influences.influences[k].weight);
    }
    const std::size_t first = group.normals.size();
    if (isIndexOf(vertex, model.normalLists.size())) {
        for (const std::int32_t normal : model.normalLists[static_cast<std::size_t>(vertex)]) {
            if (isIndexOf(normal, normalOwner.size()) &&
                normalOwner[static_cast<std::size_t>(normal)] == vertex) {
                group.normals.push_back(normal);
            }
        }
    }
    std::sort(group.normals.begin() + static_cast<std::ptrdiff_t>(first), group.normals.end());
    group.normals.erase(std::unique(group.normals.begin() + static_cast<std::ptrdiff_t>(first),
                                    group.normals.end()),
                        group.normals.end());
    for (std::size_t j = first; j < group.normals.size(); ++j) {
        const Vector3& n = model.normals[static_cast<std::size_t>(group.normals[j])];
        group.normalLengths.push_back(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z));
    }
    group.normalStart.push_back(group.normals.size());
}

}  // namespace

SkinningLists::SkinningLists(const ModelData& model, const BoneNode* root) {
    const std::size_t positionCount = model.positions.size();
    const std::size_t normalCount = model.normals.size();
    std::vector<VertexInfluences> weighted;
    const std::vector<std::int32_t> weightedSlot =
        resolveWeighted(model, countBones(root), weighted);
    const auto influenceCount = [&](std::size_t v) {
        return weightedSlot[v] < 0 ? 0 : weighted[static_cast<std::size_t>(weightedSlot[v])].count;
    };
    // The vertices each bone moves on its weights alone, as if it listed them.
    std::vector<std::vector<std::int32_t>> singleBoneVertices;
    for (std::size_t v = 0; v < positionCount; ++v) {
        if (influenceCount(v) != 1) continue;
        const auto bone = static_cast<std::size_t>(
            weighted[static_cast<std::size_t>(weightedSlot[v])].influences[0].bone);
        if (singleBoneVertices.size() <= bone) singleBoneVertices.resize(bone + 1);
        singleBoneVertices[bone].push_back(static_cast<std::int32_t>(v));
    }

    std::vector<bool> moved(positionCount, false);
    // The last bone in walk order whose vertices lead to each normal.
    std::vector<std::size_t> lastBoneOfNormal(normalCount, NoBone);
    std::size_t boneCount = 0;
    std::vector<std::int32_t> firstMoves;
    const auto moveBy = [&](std::size_t bone, std::int32_t vertex) {
        const auto v = static_cast<std::size_t>(vertex);
        if (moved[v]) {
            laterMoveIndices.entries.push_back(vertex);
        } else {
            moved[v] = true;
            firstMoves.push_back(vertex);
        }
        if (!isIndexOf(vertex, model.normalLists.size())) return;
        for (const std::int32_t normal : model.normalLists[v]) {
            if (isIndexOf(normal, normalCount)) {
                lastBoneOfNormal[static_cast<std::size_t>(normal)] = bone;
            }
        }
    };
    PendingBones<const BoneNode> pending;
    walkBones(root, pending, [&](const BoneNode& node) {
        const std::size_t bone = boneCount++;
        firstMoves.clear();
        for (const std::int32_t vertex : node.bone->vertices) {
            // A weighted vertex follows its weights only, whichever bone lists it.
            if (isIndexOf(vertex, positionCount) &&
                weightedSlot[static_cast<std::size_t>(vertex)] < 0) {
                moveBy(bone, vertex);
            }
        }
        if (bone < singleBoneVertices.size()) {
            for (const std::int32_t vertex : singleBoneVertices[bone]) moveBy(bone, vertex);
        }
        // Each first move reads the bind pose only, so their order among themselves is free.
        std::sort(firstMoves.begin(), firstMoves.end());
        appendRuns(firstMoves, firstMoveRuns.entries);
        firstMoveRuns.start.push_back(firstMoveRuns.entries.size());
        laterMoveIndices.start.push_back(laterMoveIndices.entries.size());
    });

    // Blended vertices take over every normal they lead to, the highest vertex last.
    std::vector<std::int32_t> normalOwner(normalCount, -1);
    for (std::size_t v = 0; v < positionCount; ++v) {
        if (influenceCount(v) < 2) continue;
        moved[v] = true;
        if (!isIndexOf(static_cast<std::int32_t>(v), model.normalLists.size())) continue;
        for (const std::int32_t normal : model.normalLists[v]) {
            if (!isIndexOf(normal, normalCount)) continue;
            normalOwner[static_cast<std::size_t>(normal)] = static_cast<std::int32_t>(v);
            lastBoneOfNormal[static_cast<std::size_t>(normal)] = BlendedNormal;
        }
    }
    for (int count = 2; count <= MaxInfluences; ++count) {
        WeightedGroup group;
        group.count = count;
        for (std::size_t v = 0; v < positionCount; ++v) {
            if (influenceCount(v) != count) continue;
            addToGroup(static_cast<std::int32_t>(v),
                       weighted[static_cast<std::size_t>(weightedSlot[v])], model, normalOwner,
                       group);
        }
        if (!group.vertices.empty()) groups.push_back(std::move(group));
    }

    std::vector<std::vector<std::int32_t>> normalsOfBone(boneCount);
    for (std::size_t normal = 0; normal < normalCount; ++normal) {
        const std::size_t bone = lastBoneOfNormal[normal];
        if (bone < boneCount) normalsOfBone[bone].push_back(static_cast<std::int32_t>(normal));
    }
    for (const std::vector<std::int32_t>& ascending : normalsOfBone) {
        appendRuns(ascending, normalRuns.entries);
        normalRuns.start.push_back(normalRuns.entries.size());
    }
    positionsKept = runsWhere(positionCount, [&moved](std::size_t i) { return !moved[i]; });
    normalsKept = runsWhere(
        normalCount, [&lastBoneOfNormal](std::size_t i) { return lastBoneOfNormal[i] == NoBone; });
}

ListSpan<IndexRun> SkinningLists::firstMoves(std::size_t bone) const {
    return firstMoveRuns.of(bone);
}

ListSpan<std::int32_t> SkinningLists::laterMoves(std::size_t bone) const {
    return laterMoveIndices.of(bone);
}

ListSpan<IndexRun> SkinningLists::normals(std::size_t bone) const {
    return normalRuns.of(bone);
}

}  // namespace vorel
