// blendVertices: linear blend skinning of one weighted group. Each vertex takes the weighted sum
// of its bones' world matrices (3x4, flat), applied to its bind position; each normal it turns
// takes that sum's 3x3 block and is scaled back to its bind length.
#pragma once

#include <vector>

#include "math/vector3.h"
#include "skeleton/weighted_group.h"

namespace vorel {

// The 3x4 part of a world matrix as RigidTransform holds it: element 3k + r is row r of
// column k.
constexpr int WorldFloats = 12;

// Room for a group's turned normals between the blend and their scaling, one entry per normal
// the group turns. The blend writes every normal's direction and squared length in one pass,
// and a second pass over these flat arrays scales them all, so that the square roots and
// divisions of neighbouring normals overlap instead of waiting on each vertex's blend.
struct BlendScratch {
    std::vector<Vector3> directions;
    std::vector<float> squaredLengths;
    std::vector<float> scales;

    // Sized for a group turning `normalCount` normals; allocates only when it grows.
    void reserveFor(std::size_t normalCount);
};

// boneWorlds holds WorldFloats floats per bone in walk order; scratch has been reserved for the
// group's normals. Allocates nothing.
void blendVertices(const WeightedGroup& group, const float* boneWorlds,
                   const Vector3* bindPositions, const Vector3* bindNormals, Vector3* positions,
                   Vector3* normals, BlendScratch& scratch);

}  // namespace vorel
