// What is legal in Vorel's files but probably a mistake: each finding is one line of text,
// without the file name. vorel-inspect check prints them; summary reuses the track matching.
#pragma once

#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "assets/asset_library.h"
#include "assets/model_data.h"

namespace vorel {

// The root bone, typed for walkBones over a model that must not change.
inline const BoneData* rootOf(const ModelData& model) {
    return model.rootBone.get();
}

// Vertices under two bones or under none, normals far from unit length, degenerate bones.
std::vector<std::string> modelWarnings(const ModelData& model);
// Keys out of time order, channels with no keys, a duration that is not positive.
std::vector<std::string> animationWarnings(const AnimationData& animation);
// Repeated names, a missing dance name, tracks that name no bone of the first model.
std::vector<std::string> libraryWarnings(const AssetLibrary& library);

// The tracks of the animation whose name hash belongs to no bone of the model, in file order.
std::vector<const TrackData*> tracksNamingNoBone(const ModelData& model,
                                                 const AnimationData& animation);

}  // namespace vorel
