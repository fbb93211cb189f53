#include "skeleton/bone_list.h"

#include "skeleton/bone_walk.h"

namespace vorel {

int BoneList::find(const std::string& name) const {
    for (std::size_t b = 0; b < bones.size(); ++b) {
        if (bones[b]->name == name) return static_cast<int>(b);
    }
    return -1;
}

BoneList listBones(const ModelData& model) {
    BoneList list;
    std::vector<PendingBone<const BoneData, int>> pending;
    const BoneData* root = model.rootBone.get();
    walkBones(root, -1, pending, [&list](const BoneData& bone, int parent) {
        list.bones.push_back(&bone);
        list.parents.push_back(parent);
        return static_cast<int>(list.bones.size()) - 1;
    });
    return list;
}

}  // namespace vorel
