#include "retarget/retargeted_set.h"

namespace vorel {

SetToWrite setWithAnimation(const AssetLibrary& target, const AnimationData& added,
                            const std::string& name) {
    SetToWrite set;
    set.modelName = target.modelNames.front();
    set.modelFileName = safeFileStem(set.modelName) + ".ply";
    set.model = target.models.front().get();
    std::vector<std::string> names;
    std::vector<const AnimationData*> animations;
    bool replaced = false;
    for (std::size_t a = 0; a < target.animations.size(); ++a) {
        const bool same = target.animationNames[a] == name;
        names.push_back(target.animationNames[a]);
        animations.push_back(same ? &added : target.animations[a].get());
        replaced = replaced || same;
    }
    if (!replaced) {
        names.push_back(name);
        animations.push_back(&added);
    }
    const std::vector<std::string> files = animationFileNames(names);
    for (std::size_t a = 0; a < names.size(); ++a) {
        set.animations.push_back({files[a], animations[a]});
        set.entries.push_back({names[a], a});
    }
    return set;
}

}  // namespace vorel
