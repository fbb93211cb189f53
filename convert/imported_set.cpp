// Lays an imported set out as files and manifest entries.
#include "convert/imported_set.h"

#include "assets/dance_names.h"

namespace vorel {

SetToWrite setForImport(const ImportedSet& imported) {
    SetToWrite set;
    set.modelName = imported.modelName;
    set.modelFileName = safeFileStem(imported.modelName) + ".ply";
    set.model = imported.model.get();
    std::vector<std::string> names;
    for (const ImportedAnimation& animation : imported.animations) names.push_back(animation.name);
    const std::vector<std::string> files = animationFileNames(names);
    for (std::size_t a = 0; a < imported.animations.size(); ++a) {
        set.animations.push_back({files[a], imported.animations[a].data.get()});
    }
    for (std::size_t key = 0; key < imported.keyAnimations.size() && key < DanceNames.size();
         ++key) {
        set.entries.push_back({DanceNames[key], imported.keyAnimations[key]});
    }
    for (std::size_t a = 0; a < imported.animations.size(); ++a) {
        set.entries.push_back({imported.animations[a].name, a});
    }
    return set;
}

}  // namespace vorel
