// ModelInstance: a posable copy of one loaded model: its bone tree and the skinned position
// and normal buffers that every skinning pass rebuilds from the bind pose.
#pragma once

#include <memory>
#include <vector>

#include "assets/model_data.h"
#include "skeleton/bone_node.h"

namespace vorel {

class ModelInstance {
public:
    // Builds the bone tree and skins once, so the buffers hold the bind pose.
    explicit ModelInstance(const ModelData* modelData);
    virtual ~ModelInstance();
    ModelInstance(const ModelInstance&) = delete;
    ModelInstance& operator=(const ModelInstance&) = delete;

    // Sets every bone's local matrix to identity.
    void resetPose();
    // Rebuilds positions and normals from the bind pose and the bones' local matrices.
    void skin();

    // The model this instance was built from; not owned.
    const ModelData* model;
    std::vector<MaterialRecord> materials;
    std::vector<NamedRecord> namedRecords;
    // Skinned positions and normals, indexed like the model's; the renderer reads them.
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    std::unique_ptr<BoneNode> root;
};

}  // namespace vorel
