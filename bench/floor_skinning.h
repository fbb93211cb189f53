// The floor: the least any skinning of a model's bind pose can cost. One flat pass copies
// every bind position and normal through one precomputed 3x4 transform; no bones, no index
// lists, no hierarchy. Update times are divided by this.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "math/matrix4.h"
#include "math/vector3.h"

namespace vorel {

struct FloorBuffers {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
};

// positions[i] = M * bindPositions[i] (with translation); normals[i] = the 3x3 block of M
// times bindNormals[i]. The buffers must already have the bind lists' sizes.
void skinFloor(const std::vector<Vector3>& bindPositions, const std::vector<Vector3>& bindNormals,
               const Matrix4& transform, FloorBuffers& skinned);

// Times skinFloor on the given bind pose, with a per-vertex cost counter.
void timeFloor(benchmark::State& state, const std::vector<Vector3>& bindPositions,
               const std::vector<Vector3>& bindNormals);

}  // namespace vorel
