// ImportedMesh: the positions, normals and faces an importer fills in the rest pose, each
// vertex given to one bone, and where each source primitive's vertices went.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/model_data.h"

namespace vorel {

// Where one primitive's vertices went.
struct PrimitiveRange {
    int node = 0;
    int primitive = 0;
    // Index of its first vertex among the imported vertices, and its vertex count.
    std::int64_t firstVertex = 0;
    std::int64_t vertexCount = 0;
    // "skinned", "attached" (rigidly below a joint) or "static".
    std::string binding;
};

struct ImportedMesh {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    // Position indices each bone moves; static vertices are in none.
    std::vector<std::vector<std::int32_t>> boneVertices;
    std::vector<PrimitiveRange> ranges;
    // Per imported vertex, the weight of the joint it follows (1 for attached and static
    // vertices), so a caller can tell which vertices rigid skinning reproduces exactly.
    std::vector<float> followedWeights;
    // Per imported vertex, the position it became when the mesh was welded (weld_mesh.h);
    // empty before, when vertex v is position v.
    std::vector<std::int32_t> vertexPositions;
    // Skinned vertices whose greatest weight is below 0.5.
    std::int64_t weakVertexCount = 0;
    std::int64_t skinnedVertexCount = 0;
};

}  // namespace vorel
