// A synthetic dancer for the allocation and soak tests: a small bone chain with a quad mesh,
// and dances whose every channel is a curve through several keys.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"

namespace vorel::test_support {

// Bones "bone0" .. "bone<n-1>" in a chain, each moving two vertices of a quad strip.
std::unique_ptr<ModelData> makeSyntheticDancer(int boneCount);
// The same dancer skinned smoothly: from bone 1 on, each bone's two vertices leave its list
// and are weighted over it and up to three bones above it (2, 3 or 4 influences).
std::unique_ptr<ModelData> makeSyntheticWeightedDancer(int boneCount);
// Curve tracks for every bone of makeSyntheticDancer, varied by seed, keys spread over the
// duration.
std::unique_ptr<AnimationData> makeSyntheticDance(int boneCount, float duration, int seed);

}  // namespace vorel::test_support
