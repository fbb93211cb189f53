// The floor for weighted skinning: the least a linear blend of four bones per vertex can cost.
// Flat arrays of four bone indices and four weights per vertex over one table of 3x4
// transforms; each vertex sums its four transforms and applies the sum to its bind position
// and its normal. No hierarchy, no index lists, no renormalised normals.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include "math/vector3.h"

namespace vorel {

// Times the weighted floor over the bind pose (positions[i] uses normals[i], wrapping when
// there are fewer normals), every vertex given four of boneCount bones.
void timeWeightedFloor(benchmark::State& state, const std::vector<Vector3>& bindPositions,
                       const std::vector<Vector3>& bindNormals, int boneCount);

}  // namespace vorel
