// ModelData lookups: bones by name hash (pre-order) and by name, and names by hash.
#include "assets/model_data.h"

namespace vorel {

ModelData::~ModelData() = default;

const BoneData* ModelData::findBoneByHash(std::uint32_t hash) const {
    // Pre-order without recursion: a bone, then its child's subtree, then its next sibling.
    std::vector<const BoneData*> pending;
    if (rootBone) pending.push_back(rootBone.get());
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        if (bone->nameHash == hash) return bone;
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return nullptr;
}

const BoneData* ModelData::findBone(const std::string& name) const {
    for (const auto& [hash, boneNameText] : boneNames) {
        if (boneNameText == name) return findBoneByHash(hash);
    }
    return nullptr;
}

std::string ModelData::boneName(std::uint32_t hash) const {
    const auto found = boneNames.find(hash);
    return found == boneNames.end() ? std::string() : found->second;
}

}  // namespace vorel
