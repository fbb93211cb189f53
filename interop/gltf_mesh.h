// importMesh: every triangle primitive of every mesh in the imported scene as Vorel positions,
// normals and faces in the rest pose, each vertex given to exactly one bone. Positions keep
// glTF's vertex order, primitive after primitive, so a posed vertex can be traced back to
// (node, primitive, vertex) through the primitive ranges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "assets/load_error.h"
#include "assets/model_data.h"
#include "interop/gltf_scene_graph.h"
#include "interop/gltf_skeleton.h"

namespace vorel {

// Where one primitive's vertices went.
struct PrimitiveRange {
    int node = 0;
    int primitive = 0;
    // Index of its first vertex among the model's positions, and its vertex count.
    std::int64_t firstPosition = 0;
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
    // Per position, the weight of the joint it follows (1 for attached and static vertices),
    // so a caller can tell which vertices rigid skinning reproduces exactly.
    std::vector<float> followedWeights;
    // Skinned vertices whose greatest weight is below 0.5.
    std::int64_t weakVertexCount = 0;
    std::int64_t skinnedVertexCount = 0;
};

// False, with error set, for data out of range (accessors, indices, joint indices past the
// skin), missing positions, or values that are not finite. Skipped primitives (points,
// lines) and morph targets are reported in `warnings`.
bool importMesh(const tinygltf::Model& model, const GltfSceneGraph& graph,
                const ImportedSkeleton& skeleton, ImportedMesh& mesh,
                std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
