// ImportedMesh: the positions, normals and faces an importer fills in the rest pose, each
// vertex given to one bone or weighted over up to four, and where each source primitive's
// vertices went.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/model_data.h"
#include "assets/vertex_influences.h"

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
    // Position indices each bone moves; static and weighted vertices are in none.
    std::vector<std::vector<std::int32_t>> boneVertices;
    // Per position, the bones that share a weighted vertex: up to MaxInfluences {bone, weight}
    // pairs, bone an index into boneVertices, every weight positive, normalised to sum to 1
    // (normaliseWeights), at least two of them. count is 0 for a vertex that follows one bone
    // (or none) through boneVertices. Empty when no vertex is weighted, as in a rigid import.
    std::vector<VertexInfluences> influences;
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
    // Weighted vertices (before welding), and those that had more than four influences and
    // kept their four heaviest.
    std::int64_t blendedVertexCount = 0;
    std::int64_t trimmedVertexCount = 0;
};

}  // namespace vorel
