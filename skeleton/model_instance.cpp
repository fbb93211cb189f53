// ModelInstance: the instance's copies of the model's lists, the pose reset and the rigid
// skinning pass that composes world matrices from the root down.
#include "skeleton/model_instance.h"

namespace vorel {

namespace {

std::unique_ptr<BoneNode> makeBoneTree(const ModelData& model) {
    if (!model.rootBone) return nullptr;
    return std::make_unique<BoneNode>(model.rootBone.get());
}

}  // namespace

ModelInstance::ModelInstance(const ModelData* modelData)
    : model(modelData),
      materials(modelData->materials),
      namedRecords(modelData->namedRecords),
      faces(modelData->faces),
      root(makeBoneTree(*modelData)),
      skinningLists(*modelData, root.get()) {
    skin();
}

ModelInstance::~ModelInstance() = default;

void ModelInstance::resetPose() {
    walkBones(root.get(), resetPending, [](BoneNode& node) { node.local = Matrix4::Identity; });
}

void ModelInstance::skin() {
    positions = model->positions;
    normals = model->normals;
    Matrix4 rootParent;
    rootParent.assignAffine(Matrix4::Identity);
    std::size_t bone = 0;
    walkBones(static_cast<const BoneNode*>(root.get()), rootParent, skinPending,
              [this, &bone](const BoneNode& node, const Matrix4& parentWorld) {
                  const Matrix4 world = composeAffine(node.local, parentWorld);
                  moveVertices(bone++, world);
                  return world;
              });
}

void ModelInstance::moveVertices(std::size_t bone, const Matrix4& world) {
    for (const std::int32_t vertex : skinningLists.vertices(bone)) {
        Vector3& position = positions[static_cast<std::size_t>(vertex)];
        position = transformPoint(world, position);
    }
    const Vector3 rows[3] = {world.row(0), world.row(1), world.row(2)};
    for (const std::int32_t normal : skinningLists.normals(bone)) {
        const Vector3& bind = model->normals[static_cast<std::size_t>(normal)];
        normals[static_cast<std::size_t>(normal)] = Vector3(
            Vector3::dot(rows[0], bind), Vector3::dot(rows[1], bind), Vector3::dot(rows[2], bind));
    }
}

}  // namespace vorel
