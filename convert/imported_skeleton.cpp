// Links the imported bones into Vorel's first-child / next-sibling tree.
#include "convert/imported_skeleton.h"

#include "assets/read_bone_tree.h"
#include "math/hash_name.h"

namespace vorel {

std::unique_ptr<BoneData> buildBoneTree(const ImportedSkeleton& skeleton,
                                        std::vector<std::vector<std::int32_t>>& boneVertices,
                                        const std::string& staticName, float staticLength) {
    auto makeBone = [](const std::string& name, const BonePoints& points) {
        auto bone = std::make_unique<BoneData>();
        bone->name = name;
        bone->nameHash = hashName(name);
        bone->head = points.head;
        bone->tail = points.tail;
        bone->up = points.up;
        setRestMatrices(*bone);
        return bone;
    };
    if (skeleton.boneNode.empty()) {
        auto bone =
            makeBone(staticName, {Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, staticLength, 0.0f),
                                  Vector3(0.0f, 0.0f, staticLength)});
        if (!boneVertices.empty()) bone->vertices = std::move(boneVertices[0]);
        return bone;
    }
    const std::size_t count = skeleton.boneNode.size();
    std::vector<std::unique_ptr<BoneData>> bones(count);
    for (std::size_t b = 0; b < count; ++b) {
        bones[b] = makeBone(skeleton.names[b], skeleton.points[b]);
        if (b < boneVertices.size()) bones[b]->vertices = std::move(boneVertices[b]);
    }
    // Link from the last bone backward so each sibling chain is built front to back.
    std::unique_ptr<BoneData> topLevel;
    std::vector<std::unique_ptr<BoneData>> firstChild(count);
    for (std::size_t b = count; b-- > 0;) {
        bones[b]->firstChild = std::move(firstChild[b]);
        const int parent = skeleton.boneParent[b];
        std::unique_ptr<BoneData>& chain =
            parent < 0 ? topLevel : firstChild[static_cast<std::size_t>(parent)];
        bones[b]->nextSibling = std::move(chain);
        chain = std::move(bones[b]);
    }
    return topLevel;
}

}  // namespace vorel
