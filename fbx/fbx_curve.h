// evaluateFbxCurve: an animation curve's value at a time, as the FBX SDK evaluates it: held
// before the first key and after the last, and between keys constant, linear or cubic
// (Hermite, with the keys' right and next-left slopes in value per second).
#pragma once

#include <cstdint>

#include "fbx/fbx_scene.h"

namespace vorel {

// The curve must have at least one key.
double evaluateFbxCurve(const FbxCurve& curve, std::int64_t time);

}  // namespace vorel
