// FbxSkinInfluences: every joint influence on every control point of a skinned geometry, as
// its clusters give them (any number per point, in cluster order).
#pragma once

#include <cstdint>
#include <vector>

#include "assets/load_error.h"
#include "fbx/fbx_scene.h"

namespace vorel {

struct FbxSkinInfluences {
    // Point p's influences are [first[p], first[p + 1]).
    std::vector<std::size_t> first;
    std::vector<int> cluster;
    std::vector<double> weight;
};

// False, with error set, for a cluster index past the geometry's control points.
bool readSkinInfluences(const FbxScene& scene, const FbxSkin& skin, std::size_t pointCount,
                        FbxSkinInfluences& influences, LoadError& error);

}  // namespace vorel
