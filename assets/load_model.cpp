// loadModel: the model file's sections in file order, each count checked against its minimum
// and against the bytes left, each face and bone index checked against the lists it indexes;
// a version-3 file adds its weighted vertices after the bones.
#include "assets/load_model.h"

#include <cstring>

#include "assets/byte_reader.h"
#include "assets/file_bytes.h"
#include "assets/read_bone_tree.h"
#include "assets/read_influences.h"

namespace vorel {

namespace {

constexpr std::size_t MaterialBytes = 3 + 4 + 3 + 8 * 4;
constexpr std::size_t MinimumNamedRecordBytes = 1 + 2 * 2;
constexpr std::size_t PointBytes = 3 * 4;
constexpr std::size_t MinimumFaceBytes = 4 + 16 + 16 + 4;
constexpr std::size_t LayerBytes = 4 * 4 + 2 + 8 * 4;

// Reads a count, fails it below minimum, and fails it when its records cannot fit.
bool readCount(ByteReader& reader, std::int32_t minimum, std::size_t minimumRecordBytes,
               const char* what, std::int32_t& count) {
    if (!reader.readI32(count)) return false;
    if (count < minimum) {
        return reader.failLastField(std::string(what) + " count is " + std::to_string(count) +
                                    ", must be at least " + std::to_string(minimum));
    }
    return reader.canHold(count, minimumRecordBytes, what);
}

bool readHeader(ByteReader& reader, ModelData& model) {
    reader.setSection("header");
    auto header = std::make_unique<ModelHeader>();
    for (int i = 0; i < 3; ++i) {
        if (!reader.readU8(header->magic[i])) return false;
    }
    if (std::memcmp(header->magic, ModelMagic, sizeof ModelMagic) != 0) {
        return reader.failAt(0, "magic is not \"PLY\"");
    }
    if (!reader.readI32(header->version)) return false;
    if (header->version != ModelVersion && header->version != WeightedModelVersion) {
        return reader.failLastField("version is " + std::to_string(header->version) +
                                    ", expected 2 or 3");
    }
    model.header = std::move(header);
    return true;
}

bool readColour(ByteReader& reader, float colour[3]) {
    for (int i = 0; i < 3; ++i) {
        std::uint8_t byte = 0;
        if (!reader.readU8(byte)) return false;
        colour[i] = static_cast<float>(byte / 255.0);
    }
    return true;
}

bool readMaterials(ByteReader& reader, ModelData& model) {
    reader.setSection("materials");
    std::int32_t count = 0;
    if (!readCount(reader, 1, MaterialBytes, "material", count)) return false;
    model.materials.resize(static_cast<std::size_t>(count));
    for (MaterialRecord& material : model.materials) {
        if (!readColour(reader, material.firstColour) || !reader.readU32(material.firstScalar) ||
            !readColour(reader, material.secondColour)) {
            return false;
        }
        for (std::uint32_t& field : material.fields) {
            if (!reader.readU32(field)) return false;
        }
    }
    return true;
}

bool readNamedRecords(ByteReader& reader, ModelData& model) {
    reader.setSection("named records");
    std::int32_t count = 0;
    if (!readCount(reader, 0, MinimumNamedRecordBytes, "named record", count)) return false;
    model.namedRecords.resize(static_cast<std::size_t>(count));
    for (NamedRecord& record : model.namedRecords) {
        if (!reader.readName(record.name) || !reader.readU16(record.values[0]) ||
            !reader.readU16(record.values[1])) {
            return false;
        }
    }
    return true;
}

bool readPoints(ByteReader& reader, const char* what, std::vector<Vector3>& points) {
    std::int32_t count = 0;
    if (!readCount(reader, 1, PointBytes, what, count)) return false;
    points.resize(static_cast<std::size_t>(count));
    for (Vector3& point : points) {
        if (!reader.readVector3(point)) return false;
    }
    return true;
}

// Reads four indices, each of which must lie in [0, limit).
bool readCornerIndices(ByteReader& reader, const char* what, std::int32_t limit,
                       std::int32_t indices[4]) {
    for (int corner = 0; corner < 4; ++corner) {
        if (!reader.readI32(indices[corner])) return false;
        if (indices[corner] < 0 || indices[corner] >= limit) {
            return reader.failLastField(
                std::string(what) + " index " + std::to_string(indices[corner]) + " at corner " +
                std::to_string(corner) + " is outside [0, " + std::to_string(limit) + ")");
        }
    }
    return true;
}

bool readLayer(ByteReader& reader, FaceLayer& layer) {
    for (std::uint32_t& field : layer.fields) {
        if (!reader.readU32(field)) return false;
    }
    if (!reader.readU8(layer.bytes[0]) || !reader.readU8(layer.bytes[1])) return false;
    for (int i = 0; i < 8; ++i) {
        if (!reader.readF32(layer.texCoords[i])) return false;
    }
    // The file's v runs downwards; held upwards as 1.0 - v.
    for (int i = 1; i < 8; i += 2) layer.texCoords[i] = 1.0f - layer.texCoords[i];
    return true;
}

bool readLayers(ByteReader& reader, Face& face) {
    std::int32_t count = 0;
    if (!reader.readI32(count) || !reader.canHold(count, LayerBytes, "layer")) return false;
    if (count <= 0) return true;
    face.layers.resize(static_cast<std::size_t>(count));
    for (FaceLayer& layer : face.layers) {
        if (!readLayer(reader, layer)) return false;
    }
    return true;
}

bool readFace(ByteReader& reader, ModelData& model, Face& face) {
    const auto positionCount = static_cast<std::int32_t>(model.positions.size());
    const auto normalCount = static_cast<std::int32_t>(model.normals.size());
    if (!reader.readU32(face.leadingWord) ||
        !readCornerIndices(reader, "position", positionCount, face.positionIndices) ||
        !readCornerIndices(reader, "normal", normalCount, face.normalIndices)) {
        return false;
    }
    for (int corner = 0; corner < 4; ++corner) {
        model.normalLists[static_cast<std::size_t>(face.positionIndices[corner])].push_back(
            face.normalIndices[corner]);
    }
    return readLayers(reader, face);
}

bool readFaces(ByteReader& reader, ModelData& model) {
    reader.setSection("faces");
    model.normalLists.resize(model.positions.size());
    std::int32_t count = 0;
    if (!readCount(reader, 1, MinimumFaceBytes, "face", count)) return false;
    model.faces.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < model.faces.size(); ++i) {
        reader.setSection("face", static_cast<std::int64_t>(i));
        if (!readFace(reader, model, model.faces[i])) return false;
    }
    return true;
}

bool readModel(ByteReader& reader, ModelData& model) {
    if (!readHeader(reader, model) || !readMaterials(reader, model) ||
        !readNamedRecords(reader, model)) {
        return false;
    }
    reader.setSection("positions");
    if (!readPoints(reader, "position", model.positions)) return false;
    reader.setSection("normals");
    if (!readPoints(reader, "normal", model.normals)) return false;
    if (!readFaces(reader, model)) return false;
    if (!readBoneTree(reader, static_cast<std::int32_t>(model.positions.size()), model)) {
        return false;
    }
    return model.header->version != WeightedModelVersion || readInfluences(reader, model);
}

}  // namespace

std::unique_ptr<ModelData> loadModelFromBytes(const std::string& bytes, const std::string& fileName,
                                              LoadError* error) {
    auto model = std::make_unique<ModelData>();
    ByteReader reader(bytes, fileName, error);
    if (!readModel(reader, *model)) return nullptr;
    return model;
}

std::unique_ptr<ModelData> loadModel(const std::string& path, LoadError* error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, error)) return nullptr;
    return loadModelFromBytes(bytes, path, error);
}

}  // namespace vorel
