// AssetLibrary: every model and animation a manifest names, each beside its name, in
// manifest order. Owns what it holds; an entry whose file failed to load is null.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel {

class AssetLibrary {
  public:
    AssetLibrary() = default;
    AssetLibrary(const AssetLibrary&) = delete;
    AssetLibrary& operator=(const AssetLibrary&) = delete;

    // Appends without any check; model may be null.
    void addModel(std::unique_ptr<ModelData> model, const std::string& name);
    void addAnimation(std::unique_ptr<AnimationData> animation, const std::string& name);
    // The entry at the first position whose name is byte-equal, or null.
    ModelData* findModel(const std::string& name) const;
    AnimationData* findAnimation(const std::string& name) const;

    // Paired arrays: models[i] is named modelNames[i]; both always have the same length.
    std::vector<std::unique_ptr<ModelData>> models;
    std::vector<std::string> modelNames;
    std::vector<std::unique_ptr<AnimationData>> animations;
    std::vector<std::string> animationNames;
};

}  // namespace vorel
