// Linear blend skinning in ModelInstance: a weighted vertex goes to the weighted sum of its
// bones' moves, its normals follow the blended rotation at their stored length, and rigid
// vertices, single-bone weights and unsound records behave as the bones' lists would.
#include <gtest/gtest.h>

#include <cmath>

#include "skeleton/model_instance.h"
#include "tests/support/near.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {

using namespace test_support;
namespace {

BoneTransform turnAbout(const Vector3& axis, float degrees) {
    BoneTransform transform;
    transform.rotation = rotationAbout(axis, degrees);
    return transform;
}

BoneTransform moveBy(float x, float y, float z) {
    BoneTransform transform;
    transform.translation.set(x, y, z);
    return transform;
}

WeightedVertex weightedVertex(std::int32_t vertex, std::vector<Influence> influences) {
    WeightedVertex weighted;
    weighted.vertex = vertex;
    weighted.influences.count = static_cast<std::int32_t>(influences.size());
    for (std::size_t k = 0; k < influences.size(); ++k) {
        weighted.influences.influences[k] = influences[k];
    }
    return weighted;
}

// Three axis bones in a row (root "upper", its child "lower", its sibling "hand" as walk
// bones 0, 1, 2) over a quad whose corner k uses position k and normal k. rigid[b] lists
// the positions bone b moves.
std::unique_ptr<ModelData> makeArm(std::vector<std::int32_t> upper, std::vector<std::int32_t> lower,
                                   std::vector<std::int32_t> hand = {}) {
    auto root = makeAxisBone("upper", std::move(upper));
    root->firstChild = makeAxisBone("lower", std::move(lower));
    root->firstChild->nextSibling = makeAxisBone("hand", std::move(hand));
    return makeModel({Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 2.0f, 0.0f),
                      Vector3(0.0f, 0.0f, 3.0f), Vector3(1.0f, 1.0f, 1.0f)},
                     {Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 2.0f, 0.0f),
                      Vector3(0.0f, 0.0f, 1.0f), Vector3(0.0f, 0.6f, 0.8f)},
                     {makeFace({0, 1, 2, 3}, {0, 1, 2, 3})}, std::move(root));
}

void pose(ModelInstance& instance) {
    instance.root->setTransform(moveBy(0.0f, 0.0f, 2.0f));
    instance.root->firstChild->setTransform(turnAbout(Vector3::ZAxis, 90.0f));
    instance.root->firstChild->nextSibling->setTransform(moveBy(4.0f, 0.0f, 0.0f));
    instance.skin();
}

// Where each bone alone takes position v (its rigid move), from an instance where it lists v.
Vector3 rigidMove(std::int32_t v, int bone) {
    std::vector<std::int32_t> lists[3];
    lists[bone] = {v};
    auto model = makeArm(lists[0], lists[1], lists[2]);
    ModelInstance instance(model.get());
    pose(instance);
    return instance.positions[static_cast<std::size_t>(v)];
}

TEST(BlendedSkinning, WeightedVertexIsTheWeightedSumOfItsBonesMoves) {
    auto model = makeArm({0}, {});
    model->weightedVertices = {weightedVertex(1, {{0, 0.25f}, {1, 0.75f}}),
                               weightedVertex(3, {{0, 0.5f}, {1, 0.25f}, {2, 0.25f}})};
    ModelInstance instance(model.get());
    EXPECT_EQ(model->positions, instance.positions) << "the bind pose is unchanged";
    pose(instance);
    const Vector3 a = rigidMove(1, 0), b = rigidMove(1, 1);
    expectNear(instance.positions[1], Vector3(0.25f * a.x + 0.75f * b.x, 0.25f * a.y + 0.75f * b.y,
                                              0.25f * a.z + 0.75f * b.z));
    const Vector3 p = rigidMove(3, 0), q = rigidMove(3, 1), r = rigidMove(3, 2);
    expectNear(instance.positions[3],
               Vector3(0.5f * p.x + 0.25f * (q.x + r.x), 0.5f * p.y + 0.25f * (q.y + r.y),
                       0.5f * p.z + 0.25f * (q.z + r.z)));
    // The rigid vertex and the unlisted one are untouched by the weighted pass.
    EXPECT_EQ(rigidMove(0, 0), instance.positions[0]);
    EXPECT_EQ(model->positions[2], instance.positions[2]);
    ASSERT_EQ(2u, instance.skinning().weightedGroups().size());
    EXPECT_EQ(2, instance.skinning().weightedGroups()[0].count);
    EXPECT_EQ(3, instance.skinning().weightedGroups()[1].count);
}

TEST(BlendedSkinning, NormalsFollowTheBlendedRotationAtTheirStoredLength) {
    // Half on a bone at rest, half on one turned 90 degrees about z: normal (0, 2, 0) turns by
    // 45 degrees and keeps its length 2.
    auto model = makeArm({}, {});
    model->weightedVertices = {weightedVertex(1, {{0, 0.5f}, {1, 0.5f}})};
    ModelInstance instance(model.get());
    instance.root->firstChild->setTransform(turnAbout(Vector3::ZAxis, 90.0f));
    instance.skin();
    const float half = std::sqrt(2.0f);
    expectNear(instance.normals[1], Vector3(-half, half, 0.0f));
    // Mirrored through the origin, the two blocks cancel; the normal becomes zero, never NaN.
    BoneTransform mirrored;
    mirrored.scale.set(-1.0f, -1.0f, -1.0f);
    instance.root->firstChild->setTransform(mirrored);
    instance.skin();
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance.normals[1]);
    EXPECT_TRUE(std::isfinite(instance.positions[1].x));
}

TEST(BlendedSkinning, WeightOnOneBoneMovesTheVertexExactlyAsThatBonesList) {
    // Vertex 2 weighted (0, 1) on bone 1 and vertex 3 with a single influence: both follow
    // their bone bit for bit, normals included.
    auto listed = makeArm({}, {2, 3});
    auto weighted = makeArm({}, {});
    weighted->weightedVertices = {weightedVertex(2, {{0, 0.0f}, {1, 1.0f}}),
                                  weightedVertex(3, {{1, 1.0f}})};
    ModelInstance expected(listed.get());
    ModelInstance instance(weighted.get());
    pose(expected);
    pose(instance);
    EXPECT_EQ(expected.positions, instance.positions);
    EXPECT_EQ(expected.normals, instance.normals);
    EXPECT_TRUE(instance.skinning().weightedGroups().empty());
}

TEST(BlendedSkinning, ABlendedVertexOwnsTheNormalsItLeadsTo) {
    // Normal 1 is used by rigid position 0 (bone 0) and blended position 1; the blend decides.
    auto model = makeArm({0}, {});
    model->faces = {makeFace({0, 1, 1, 0}, {1, 1, 1, 1})};
    model->normalLists = {{1, 1}, {1, 1}, {}, {}};
    model->weightedVertices = {weightedVertex(1, {{0, 0.5f}, {1, 0.5f}})};
    ModelInstance instance(model.get());
    instance.root->firstChild->setTransform(turnAbout(Vector3::ZAxis, 90.0f));
    instance.skin();
    const float half = std::sqrt(2.0f);
    expectNear(instance.normals[1], Vector3(-half, half, 0.0f));
    // Normals nothing reaches keep their bind value.
    EXPECT_EQ(model->normals[2], instance.normals[2]);
}

TEST(BlendedSkinning, UnsoundRecordsAreLeftToTheBonesLists) {
    // Records made in memory bypass the loader: a bone past the tree, a NaN weight, weights
    // summing to 0, a vertex past the positions and a repeated vertex. None may move anything
    // or be read out of range; the repeat keeps the first record.
    const float nan = std::nanf("");
    auto model = makeArm({0}, {});
    model->weightedVertices = {weightedVertex(1, {{0, 0.5f}, {3, 0.5f}}),
                               weightedVertex(2, {{0, nan}, {1, 0.5f}}),
                               weightedVertex(3, {{0, 0.0f}, {1, 0.0f}}),
                               weightedVertex(9, {{0, 0.5f}, {1, 0.5f}}),
                               weightedVertex(0, {{1, 1.0f}}),
                               weightedVertex(0, {{2, 1.0f}})};
    ModelInstance instance(model.get());
    pose(instance);
    for (std::size_t v = 1; v < 4; ++v) EXPECT_EQ(model->positions[v], instance.positions[v]);
    EXPECT_EQ(rigidMove(0, 1), instance.positions[0]);
}

TEST(BlendedSkinning, EveryPassStartsFromTheBindPose) {
    auto model = makeArm({0}, {});
    model->weightedVertices = {weightedVertex(1, {{0, 0.3f}, {1, 0.7f}})};
    ModelInstance instance(model.get());
    pose(instance);
    const std::vector<Vector3> posed = instance.positions;
    instance.skin();
    EXPECT_EQ(posed, instance.positions);
    instance.resetPose();
    instance.skin();
    EXPECT_EQ(model->positions, instance.positions);
    EXPECT_EQ(model->normals, instance.normals);
}

}  // namespace
}  // namespace vorel
