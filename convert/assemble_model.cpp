// The model assembly every importer shares.
#include "convert/assemble_model.h"

#include <algorithm>

#include "math/hash_name.h"

namespace vorel {

std::unique_ptr<ModelData> assembleModel(const ImportedSkeleton& skeleton, ImportedMesh& mesh) {
    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>();
    model->header->magic[0] = 'P';
    model->header->magic[1] = 'L';
    model->header->magic[2] = 'Y';
    model->header->version = 2;
    MaterialRecord material;
    for (int i = 0; i < 3; ++i) {
        material.firstColour[i] = 0.8f;
        material.secondColour[i] = 0.8f;
    }
    model->materials.push_back(material);
    model->positions = std::move(mesh.positions);
    model->normals = std::move(mesh.normals);
    model->faces = std::move(mesh.faces);
    model->normalLists.assign(model->positions.size(), {});
    for (const Face& face : model->faces) {
        for (int k = 0; k < 4; ++k) {
            model->normalLists[static_cast<std::size_t>(face.positionIndices[k])].push_back(
                face.normalIndices[k]);
        }
    }
    // A skeleton-free model still needs a bone: one the size of the mesh, moving nothing.
    float staticLength = 1.0f;
    if (!model->positions.empty()) {
        float low = model->positions[0].y, high = low;
        for (const Vector3& p : model->positions)
            low = std::min(low, p.y), high = std::max(high, p.y);
        if (high > low) staticLength = 0.1f * (high - low);
    }
    model->rootBone = buildBoneTree(skeleton, mesh.boneVertices, "root", staticLength);
    // Skeleton bones are already in the tree's pre-order, the order influences name them by.
    for (std::size_t p = 0; p < mesh.influences.size(); ++p) {
        if (mesh.influences[p].count == 0) continue;
        model->weightedVertices.push_back({static_cast<std::int32_t>(p), mesh.influences[p]});
    }
    if (!model->weightedVertices.empty()) model->header->version = WeightedModelVersion;
    for (std::size_t b = 0; b < skeleton.names.size(); ++b) {
        model->boneNames[hashName(skeleton.names[b])] = skeleton.names[b];
    }
    if (skeleton.names.empty()) model->boneNames[hashName("root")] = "root";
    return model;
}

double modelHeight(const ModelData& model) {
    if (model.positions.empty()) return 1.0;
    float low = model.positions[0].y, high = low;
    for (const Vector3& p : model.positions) low = std::min(low, p.y), high = std::max(high, p.y);
    return high > low ? static_cast<double>(high - low) : 1.0;
}

}  // namespace vorel
