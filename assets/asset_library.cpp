// AssetLibrary: appends and first-match lookups over the paired name arrays.
#include "assets/asset_library.h"

#include <utility>

namespace vorel {

namespace {

// The element beside the first name equal to the given one, or null.
template <typename Entry>
Entry* findFirst(const std::vector<std::unique_ptr<Entry>>& entries,
                 const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size() && i < entries.size(); ++i) {
        if (names[i] == name) return entries[i].get();
    }
    return nullptr;
}

}  // namespace

void AssetLibrary::addModel(std::unique_ptr<ModelData> model, const std::string& name) {
    models.push_back(std::move(model));
    modelNames.push_back(name);
}

void AssetLibrary::addAnimation(std::unique_ptr<AnimationData> animation, const std::string& name) {
    animations.push_back(std::move(animation));
    animationNames.push_back(name);
}

ModelData* AssetLibrary::findModel(const std::string& name) const {
    return findFirst(models, modelNames, name);
}

AnimationData* AssetLibrary::findAnimation(const std::string& name) const {
    return findFirst(animations, animationNames, name);
}

}  // namespace vorel
