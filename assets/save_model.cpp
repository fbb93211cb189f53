// encodeModel / saveModel: a ModelData back into the model file format, sections in file
// order, the bone tree in pre-order without recursion.
#include "assets/save_model.h"

#include <cmath>
#include <vector>

#include "assets/byte_writer.h"
#include "assets/file_bytes.h"

namespace vorel {

namespace {

// Colours are held as byte / 255; anything outside [0, 1] is clamped to a byte.
std::uint8_t colourByte(float colour) {
    if (!(colour > 0.0f)) return 0;
    if (colour >= 1.0f) return 255;
    return static_cast<std::uint8_t>(std::lround(colour * 255.0));
}

void putColour(ByteWriter& out, const float colour[3]) {
    for (int i = 0; i < 3; ++i) out.putU8(colourByte(colour[i]));
}

void putCount(ByteWriter& out, std::size_t count) {
    out.putI32(static_cast<std::int32_t>(count));
}

// A model with weighted vertices is always written as version 3, whatever its header says.
std::int32_t writtenVersion(const ModelData& model) {
    if (!model.weightedVertices.empty()) return WeightedModelVersion;
    return model.header != nullptr ? model.header->version : ModelVersion;
}

void putHeader(ByteWriter& out, const ModelData& model) {
    const ModelHeader standard = standardModelHeader();
    const ModelHeader& written = model.header != nullptr ? *model.header : standard;
    for (int i = 0; i < 3; ++i) out.putU8(written.magic[i]);
    out.putI32(writtenVersion(model));
}

void putWeightedVertex(ByteWriter& out, const WeightedVertex& weighted) {
    out.putI32(weighted.vertex);
    const VertexInfluences& influences = weighted.influences;
    out.putU8(static_cast<std::uint8_t>(influences.count));
    for (int i = 0; i < influences.count; ++i) {
        out.putI32(influences.influences[i].bone);
        out.putF32(influences.influences[i].weight);
    }
}

void putMaterial(ByteWriter& out, const MaterialRecord& material) {
    putColour(out, material.firstColour);
    out.putU32(material.firstScalar);
    putColour(out, material.secondColour);
    for (std::uint32_t field : material.fields) out.putU32(field);
}

void putLayer(ByteWriter& out, const FaceLayer& layer) {
    for (std::uint32_t field : layer.fields) out.putU32(field);
    out.putU8(layer.bytes[0]);
    out.putU8(layer.bytes[1]);
    for (int i = 0; i < 8; ++i) {
        // The file's v runs downwards, the held one upwards.
        out.putF32(i % 2 == 1 ? 1.0f - layer.texCoords[i] : layer.texCoords[i]);
    }
}

void putFace(ByteWriter& out, const Face& face) {
    out.putU32(face.leadingWord);
    for (std::int32_t index : face.positionIndices) out.putI32(index);
    for (std::int32_t index : face.normalIndices) out.putI32(index);
    putCount(out, face.layers.size());
    for (const FaceLayer& layer : face.layers) putLayer(out, layer);
}

void putBone(ByteWriter& out, const BoneData& bone) {
    out.putU8(bone.firstChild ? 1 : 0);
    out.putU8(bone.nextSibling ? 1 : 0);
    out.putName(bone.name);
    out.putVector3(bone.head);
    out.putVector3(bone.tail);
    out.putVector3(bone.up);
    putCount(out, bone.vertices.size());
    for (std::int32_t index : bone.vertices) out.putI32(index);
}

// A bone, its first child's subtree, then its next sibling: the order the loader reads.
template <typename Visit>
void visitBoneTree(const BoneData* root, Visit visit) {
    std::vector<const BoneData*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        visit(*bone);
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
}

// The encoded size, field by field as written below, so that the string is allocated once.
std::size_t encodedSize(const ModelData& model) {
    std::size_t size = 3 + 4 + 4 + 42 * model.materials.size() + 4;
    for (const NamedRecord& record : model.namedRecords) size += record.name.size() + 1 + 4;
    size += 4 + 12 * model.positions.size() + 4 + 12 * model.normals.size() + 4;
    for (const Face& face : model.faces) size += 40 + 50 * face.layers.size();
    visitBoneTree(model.rootBone.get(), [&size](const BoneData& bone) {
        size += 2 + bone.name.size() + 1 + 36 + 4 + 4 * bone.vertices.size();
    });
    if (writtenVersion(model) != WeightedModelVersion) return size;
    size += 4;
    for (const WeightedVertex& weighted : model.weightedVertices) {
        size += 4 + 1 + 8 * static_cast<std::size_t>(weighted.influences.count);
    }
    return size;
}

}  // namespace

std::string encodeModel(const ModelData& model) {
    ByteWriter out;
    out.reserve(encodedSize(model));
    putHeader(out, model);
    putCount(out, model.materials.size());
    for (const MaterialRecord& material : model.materials) putMaterial(out, material);
    putCount(out, model.namedRecords.size());
    for (const NamedRecord& record : model.namedRecords) {
        out.putName(record.name);
        out.putU16(record.values[0]);
        out.putU16(record.values[1]);
    }
    putCount(out, model.positions.size());
    for (const Vector3& position : model.positions) out.putVector3(position);
    putCount(out, model.normals.size());
    for (const Vector3& normal : model.normals) out.putVector3(normal);
    putCount(out, model.faces.size());
    for (const Face& face : model.faces) putFace(out, face);
    visitBoneTree(model.rootBone.get(), [&out](const BoneData& bone) { putBone(out, bone); });
    if (writtenVersion(model) == WeightedModelVersion) {
        putCount(out, model.weightedVertices.size());
        for (const WeightedVertex& weighted : model.weightedVertices) {
            putWeightedVertex(out, weighted);
        }
    }
    return out.takeBytes();
}

bool saveModel(const ModelData& model, const std::string& path) {
    return writeFileBytes(path, encodeModel(model));
}

}  // namespace vorel
