// ModelInstance: a posable copy of one loaded model: its bone tree and the skinned position
// and normal buffers that every skinning pass rebuilds from the bind pose.
#pragma once

#include <memory>
#include <vector>

#include "assets/model_data.h"
#include "math/matrix4.h"
#include "skeleton/blend_vertices.h"
#include "skeleton/bone_node.h"
#include "skeleton/bone_walk.h"
#include "skeleton/rigid_transform.h"
#include "skeleton/skinning_lists.h"

namespace vorel {

class ModelInstance {
  public:
    // Builds the bone tree and skins once, so the buffers hold the bind pose. A model without
    // a root bone gives an instance without bones, which always shows the bind pose.
    explicit ModelInstance(const ModelData* modelData);
    virtual ~ModelInstance();
    ModelInstance(const ModelInstance&) = delete;
    ModelInstance& operator=(const ModelInstance&) = delete;

    // Sets every bone's local matrix to identity.
    void resetPose();
    // Rebuilds positions and normals from the bind pose and the bones' local matrices. A
    // vertex listed by several bones is moved by each in walk order; a normal its vertices
    // lead to is set once, from its bind value, by the 3x3 block of the last such bone.
    // Weighted vertices are blended afterwards from every bone's world matrix (see
    // blend_vertices.h). Allocates nothing once the first pass (run by the constructor) is done.
    void skin();

    // Which bone moves each position and sets each normal; a renderer may learn from it which
    // entries always come out alike.
    const SkinningLists& skinning() const { return skinningLists; }

    // The model this instance was built from; not owned.
    const ModelData* model;
    std::vector<MaterialRecord> materials;
    std::vector<NamedRecord> namedRecords;
    // Skinned positions and normals, indexed like the model's; the renderer reads them.
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    std::unique_ptr<BoneNode> root;

  private:
    void moveVertices(std::size_t bone, const RigidTransform& world);

    SkinningLists skinningLists;
    // Every bone's world transform in walk order, kept only when weighted vertices need them.
    std::vector<float> boneWorlds;
    // The weighted groups' turned normals on their way to being scaled, sized for the largest.
    BlendScratch blendScratch;
    // Scratch stacks of the two walks, kept so that their capacity is reused every frame.
    PendingBones<BoneNode> resetPending;
    std::vector<PendingBone<const BoneNode, Matrix4>> skinPending;
};

}  // namespace vorel
