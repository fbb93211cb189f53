// ExportMesh: a model's quad faces as the triangles, vertices and joint bindings of one glTF
// skinned primitive, with what glTF cannot hold counted rather than hidden. No tinygltf here:
// gltf_export.h puts the arrays into buffers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/bone_data.h"
#include "assets/model_data.h"

namespace vorel {

struct ExportMesh {
    // Per glTF vertex: x, y, z of its bind position and of its unit normal.
    std::vector<float> positions;
    std::vector<float> normals;
    // Per glTF vertex, four joints and their four weights (JOINTS_0, WEIGHTS_0): a rigid
    // vertex has its one joint at weight 1, a weighted one its influences, the rest joint 0 at
    // weight 0. Joint 0 is the static root joint, bone i of the walk is joint i + 1.
    std::vector<std::uint16_t> joints;
    std::vector<float> weights;
    // The Vorel position index each glTF vertex takes its position from.
    std::vector<std::int32_t> sourcePositions;
    // Three per triangle, two triangles per face; a triangle with a repeated vertex is left out.
    std::vector<std::uint32_t> indices;
    float minimum[3] = {0.0f, 0.0f, 0.0f};
    float maximum[3] = {0.0f, 0.0f, 0.0f};
    // Positions the faces use that several bones list (or one bone twice): the viewer moves
    // them by each in turn, glTF by one joint, the last bone of the walk that lists them.
    std::int64_t multiBoneVertices = 0;
    // Positions the faces use that no bone lists: they hang from the static root joint.
    std::int64_t unboundVertices = 0;
    // Corner normals of zero length, written as +Y so the file stays valid.
    std::int64_t zeroNormals = 0;
};

// The most joints JOINTS_0 can name (unsigned short), the static root joint included.
constexpr std::size_t MaxExportJoints = 65536;

// False, with problem set, when a position or normal the faces use is not finite, a weighted
// vertex fails the loader's checks, or the model has more bones than MaxExportJoints - 1. `bones`
// is bonesInWalkOrder(model).
bool buildExportMesh(const ModelData& model, const std::vector<const BoneData*>& bones,
                     ExportMesh& mesh, std::string& problem);

}  // namespace vorel
