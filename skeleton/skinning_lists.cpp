// SkinningLists: flattening each bone's vertex list and the normals its vertices lead to,
// deduplicated per bone, in the order the skinning walk visits the bones.
#include "skeleton/skinning_lists.h"

#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

bool isIndexOf(std::int32_t index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

IndexSpan spanOf(const std::vector<std::size_t>& start, const std::vector<std::int32_t>& indices,
                 std::size_t bone) {
    const std::int32_t* base = indices.data();
    return IndexSpan{base + start[bone], base + start[bone + 1]};
}

}  // namespace

SkinningLists::SkinningLists(const ModelData& model, const BoneNode* root) {
    const std::size_t positionCount = model.positions.size();
    const std::size_t normalCount = model.normals.size();
    // The bone that last took each normal: a normal is listed once per bone however many of
    // the bone's vertices (or corners of one vertex) lead to it.
    constexpr std::size_t NoBone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> lastBoneOfNormal(normalCount, NoBone);
    vertexStart.push_back(0);
    normalStart.push_back(0);
    PendingBones<const BoneNode> pending;
    walkBones(root, pending, [&](const BoneNode& node) {
        const std::size_t bone = vertexStart.size() - 1;
        for (const std::int32_t vertex : node.bone->vertices) {
            if (!isIndexOf(vertex, positionCount)) continue;
            vertexIndices.push_back(vertex);
            if (!isIndexOf(vertex, model.normalLists.size())) continue;
            for (const std::int32_t normal : model.normalLists[static_cast<std::size_t>(vertex)]) {
                if (!isIndexOf(normal, normalCount)) continue;
                std::size_t& lastBone = lastBoneOfNormal[static_cast<std::size_t>(normal)];
                if (lastBone == bone) continue;
                lastBone = bone;
                normalIndices.push_back(normal);
            }
        }
        vertexStart.push_back(vertexIndices.size());
        normalStart.push_back(normalIndices.size());
    });
}

IndexSpan SkinningLists::vertices(std::size_t bone) const {
    return spanOf(vertexStart, vertexIndices, bone);
}

IndexSpan SkinningLists::normals(std::size_t bone) const {
    return spanOf(normalStart, normalIndices, bone);
}

}  // namespace vorel
