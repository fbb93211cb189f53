// ModelData: one loaded model file (mesh, materials, named records and bone tree), exactly as
// read. Read-only once loaded; model instances point into it. The loader is in load_model.h.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/bone_data.h"
#include "assets/vertex_influences.h"
#include "math/vector3.h"

namespace vorel {

// The first three bytes of every model file ("PLY"; the fourth, never on disk, ends the text),
// and the versions the loader takes: 2, and 3 for a model with weighted vertices. Vorel's own
// format, not the Stanford one.
constexpr std::uint8_t ModelMagic[4] = {'P', 'L', 'Y', 0};
constexpr std::int32_t ModelVersion = 2;
constexpr std::int32_t WeightedModelVersion = 3;

struct ModelHeader {
    // ModelMagic once loaded.
    std::uint8_t magic[4] = {0, 0, 0, 0};
    std::int32_t version = 0;
};

// The header every writer puts on a model it makes.
inline ModelHeader standardModelHeader() {
    return ModelHeader{{ModelMagic[0], ModelMagic[1], ModelMagic[2], 0}, ModelVersion};
}

struct MaterialRecord {
    // Colour bytes divided by 255.0.
    float firstColour[3] = {0.0f, 0.0f, 0.0f};
    // Kept bit for bit, never interpreted.
    std::uint32_t firstScalar = 0;
    float secondColour[3] = {0.0f, 0.0f, 0.0f};
    std::uint32_t fields[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

struct NamedRecord {
    std::string name;
    // Two 16-bit values kept bit for bit.
    std::uint16_t values[2] = {0, 0};
};

struct FaceLayer {
    std::uint32_t fields[4] = {0, 0, 0, 0};
    std::uint8_t bytes[2] = {0, 0};
    // u0, v0, u1, v1, u2, v2, u3, v3; each v is held as 1.0 - v of the file.
    float texCoords[8] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
};

struct Face {
    // Kept bit for bit, never interpreted.
    std::uint32_t leadingWord = 0;
    // Corner k uses position positionIndices[k] and normal normalIndices[k]; the loader has
    // checked both against the list sizes.
    std::int32_t positionIndices[4] = {0, 0, 0, 0};
    std::int32_t normalIndices[4] = {0, 0, 0, 0};
    std::vector<FaceLayer> layers;
};

class ModelData {
  public:
    ModelData() = default;
    virtual ~ModelData();
    ModelData(const ModelData&) = delete;
    ModelData& operator=(const ModelData&) = delete;

    // The first bone, in pre-order over the whole tree, whose name hash is the given one.
    const BoneData* findBoneByHash(std::uint32_t hash) const;
    // The bone stored in boneNames under a byte-equal name (first in ascending hash order).
    const BoneData* findBone(const std::string& name) const;
    // The name stored under a hash, or an empty string.
    std::string boneName(std::uint32_t hash) const;

    std::unique_ptr<ModelHeader> header;
    std::vector<MaterialRecord> materials;
    std::vector<NamedRecord> namedRecords;
    // Bind-pose positions; index = position index.
    std::vector<Vector3> positions;
    // Bind-pose normals as stored (not normalised); index = normal index.
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    // For each position, the normal index of every face corner using it, in face and corner
    // order, repeats included.
    std::vector<std::vector<std::int32_t>> normalLists;
    std::unique_ptr<BoneData> rootBone;
    // Every bone's name under its hash; when two bones share a hash the later one's name.
    std::map<std::uint32_t, std::string> boneNames;
    // Positions moved by several bones at once, in file order (version 3 only). No bone lists
    // them; their weights are checked and normalised.
    std::vector<WeightedVertex> weightedVertices;
};

}  // namespace vorel
