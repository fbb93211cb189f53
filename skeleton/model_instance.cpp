// ModelInstance: the instance's copies of the model's lists, the pose reset and the rigid
// skinning pass that composes world matrices from the root down.
#include "skeleton/model_instance.h"

#include <algorithm>

#include "skeleton/affine_product.h"
#include "skeleton/blend_vertices.h"

namespace vorel {

namespace {

void copyRuns(const std::vector<IndexRun>& runs, const std::vector<Vector3>& from,
              std::vector<Vector3>& to) {
    for (const IndexRun run : runs) {
        std::copy(from.begin() + run.first, from.begin() + run.last, to.begin() + run.first);
    }
}

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
    if (!skinningLists.weightedGroups().empty()) {
        boneWorlds.resize(WorldFloats * skinningLists.boneCount());
    }
    for (const WeightedGroup& group : skinningLists.weightedGroups())
        blendScratch.reserveFor(group.normals.size());
    skin();
}

ModelInstance::~ModelInstance() = default;

void ModelInstance::resetPose() {
    walkBones(root.get(), resetPending, [](BoneNode& node) { node.local = Matrix4::Identity; });
}

void ModelInstance::skin() {
    // No-ops after the first pass; the lists below then rewrite every entry of both buffers.
    positions.resize(model->positions.size());
    normals.resize(model->normals.size());
    copyRuns(skinningLists.unmovedPositions(), model->positions, positions);
    copyRuns(skinningLists.unturnedNormals(), model->normals, normals);
    Matrix4 rootParent;
    rootParent.assignAffine(Matrix4::Identity);
    std::size_t bone = 0;
    walkBones(static_cast<const BoneNode*>(root.get()), rootParent, skinPending,
              [this, &bone](const BoneNode& node, const Matrix4& parentWorld) {
                  const Matrix4 world = composeAffineInline(node.local, parentWorld);
                  const RigidTransform rigid(world);
                  moveVertices(bone, rigid);
                  if (!boneWorlds.empty()) {
                      std::copy(
                          rigid.elements(), rigid.elements() + WorldFloats,
                          boneWorlds.begin() + static_cast<std::ptrdiff_t>(WorldFloats * bone));
                  }
                  ++bone;
                  return world;
              });
    for (const WeightedGroup& group : skinningLists.weightedGroups()) {
        blendVertices(group, boneWorlds.data(), model->positions.data(), model->normals.data(),
                      positions.data(), normals.data(), blendScratch);
    }
}

void ModelInstance::moveVertices(std::size_t bone, const RigidTransform& world) {
    const Vector3* bindPositions = model->positions.data();
    Vector3* moved = positions.data();
    for (const IndexRun run : skinningLists.firstMoves(bone)) {
        for (std::int32_t v = run.first; v < run.last; ++v)
            moved[v] = world.point(bindPositions[v]);
    }
    for (const std::int32_t v : skinningLists.laterMoves(bone)) moved[v] = world.point(moved[v]);
    const Vector3* bindNormals = model->normals.data();
    Vector3* turned = normals.data();
    for (const IndexRun run : skinningLists.normals(bone)) {
        for (std::int32_t n = run.first; n < run.last; ++n) {
            turned[n] = world.direction(bindNormals[n]);
        }
    }
}

}  // namespace vorel
