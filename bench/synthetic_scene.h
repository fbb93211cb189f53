// makeSyntheticLibrary: a model and animations of any size for the scaling benchmarks, made
// in memory with the asset writers and read back through the loaders, exactly as files of
// that size would be loaded.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"
#include "assets/load_error.h"

namespace vorel {

// One model: a grid of vertexCount vertices (a multiple of 100) with smooth-shaded quads,
// and boneCount bones in a three-way branching tree, each moving an equal block of vertices.
// animationCount animations "dance0" .. named alike, each with one curve track per bone.
// Null, with error filled in, if what the writers made does not load back.
std::unique_ptr<AssetLibrary> makeSyntheticLibrary(int vertexCount, int boneCount,
                                                   int animationCount, LoadError* error);

// The name of the i-th synthetic animation.
std::string syntheticDanceName(int index);

}  // namespace vorel
