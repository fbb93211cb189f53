// blendVertices: linear blend skinning of one weighted group. Each vertex takes the weighted sum
// of its bones' world matrices (3x4, flat), applied to its bind position; each normal it turns
// takes that sum's 3x3 block and is scaled back to its bind length.
#pragma once

#include "math/vector3.h"
#include "skeleton/weighted_group.h"

namespace vorel {

// The 3x4 part of a world matrix as RigidTransform holds it: element 3k + r is row r of
// column k.
constexpr int WorldFloats = 12;

// boneWorlds holds WorldFloats floats per bone in walk order. Allocates nothing.
void blendVertices(const WeightedGroup& group, const float* boneWorlds,
                   const Vector3* bindPositions, const Vector3* bindNormals, Vector3* positions,
                   Vector3* normals);

}  // namespace vorel
