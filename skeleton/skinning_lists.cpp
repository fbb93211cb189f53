// SkinningLists: sorting each bone's work into first moves, later moves and the normals it has
// the last word on, as runs of consecutive indices so the pass streams through the buffers.
#include "skeleton/skinning_lists.h"

#include <algorithm>

#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

constexpr std::size_t NoBone = static_cast<std::size_t>(-1);

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

}  // namespace

SkinningLists::SkinningLists(const ModelData& model, const BoneNode* root) {
    const std::size_t positionCount = model.positions.size();
    const std::size_t normalCount = model.normals.size();
    std::vector<bool> moved(positionCount, false);
    // The last bone in walk order whose vertices lead to each normal.
    std::vector<std::size_t> lastBoneOfNormal(normalCount, NoBone);
    std::size_t boneCount = 0;
    std::vector<std::int32_t> firstMoves;
    PendingBones<const BoneNode> pending;
    walkBones(root, pending, [&](const BoneNode& node) {
        const std::size_t bone = boneCount++;
        firstMoves.clear();
        for (const std::int32_t vertex : node.bone->vertices) {
            if (!isIndexOf(vertex, positionCount)) continue;
            const auto v = static_cast<std::size_t>(vertex);
            if (moved[v]) {
                laterMoveIndices.entries.push_back(vertex);
            } else {
                moved[v] = true;
                firstMoves.push_back(vertex);
            }
            if (!isIndexOf(vertex, model.normalLists.size())) continue;
            for (const std::int32_t normal : model.normalLists[v]) {
                if (isIndexOf(normal, normalCount)) {
                    lastBoneOfNormal[static_cast<std::size_t>(normal)] = bone;
                }
            }
        }
        // Each first move reads the bind pose only, so their order among themselves is free.
        std::sort(firstMoves.begin(), firstMoves.end());
        appendRuns(firstMoves, firstMoveRuns.entries);
        firstMoveRuns.start.push_back(firstMoveRuns.entries.size());
        laterMoveIndices.start.push_back(laterMoveIndices.entries.size());
    });

    std::vector<std::vector<std::int32_t>> normalsOfBone(boneCount);
    for (std::size_t normal = 0; normal < normalCount; ++normal) {
        const std::size_t bone = lastBoneOfNormal[normal];
        if (bone != NoBone) normalsOfBone[bone].push_back(static_cast<std::int32_t>(normal));
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
