// ModelInstance: the bind pose, rigid skinning through the bone tree, and the normals a pass
// turns.
#include "skeleton/model_instance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/near.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {

using namespace test_support;
namespace {

using test_support::makeAxisBone;
using test_support::makeBone;
using test_support::makeFace;
using test_support::makeModel;
using test_support::rotationAbout;

BoneTransform translation(float x, float y, float z) {
    BoneTransform transform;
    transform.translation.set(x, y, z);
    return transform;
}

BoneTransform rotation(const Vector3& axis, float degrees) {
    BoneTransform transform;
    transform.rotation = rotationAbout(axis, degrees);
    return transform;
}

// Four positions on one quad, corner k using position k and normal k.
std::unique_ptr<ModelData> makeQuadModel(std::unique_ptr<BoneData> root) {
    return makeModel({Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f),
                      Vector3(0.0f, 0.0f, 1.0f), Vector3(1.0f, 1.0f, 1.0f)},
                     {Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f),
                      Vector3(0.0f, 0.0f, 1.0f), Vector3(0.0f, 0.6f, 0.8f)},
                     {makeFace({0, 1, 2, 3}, {0, 1, 2, 3})}, std::move(root));
}

TEST(ModelInstanceBindPose, ConstructionGivesTheModelsBuffersAndCopies) {
    auto model =
        makeQuadModel(makeBone("tilted", Vector3(1.0f, 2.0f, 3.0f), Vector3(2.0f, 3.0f, 3.5f),
                               Vector3(0.0f, 4.0f, 3.0f), {0, 1, 2, 3}));
    model->namedRecords.push_back(NamedRecord{"record", {7, 9}});
    model->faces[0].layers.resize(2);
    ModelInstance instance(model.get());
    EXPECT_EQ(model->positions, instance.positions);
    EXPECT_EQ(model->normals, instance.normals);
    EXPECT_EQ(model.get(), instance.model);
    ASSERT_EQ(1u, instance.namedRecords.size());
    EXPECT_EQ("record", instance.namedRecords[0].name);
    EXPECT_EQ(1u, instance.materials.size());
    ASSERT_EQ(1u, instance.faces.size());
    EXPECT_EQ(2u, instance.faces[0].layers.size());
    EXPECT_EQ(3, instance.faces[0].normalIndices[3]);
}

TEST(ModelInstanceBindPose, EachPassStartsAgainFromTheBindPose) {
    auto model = makeQuadModel(makeAxisBone("bone", {0, 1}));
    ModelInstance instance(model.get());
    instance.root->setTransform(translation(0.0f, 0.0f, 1.0f));
    instance.skin();
    const std::vector<Vector3> firstPositions = instance.positions;
    const std::vector<Vector3> firstNormals = instance.normals;
    instance.skin();
    EXPECT_EQ(firstPositions, instance.positions);
    EXPECT_EQ(firstNormals, instance.normals);
    EXPECT_EQ(Vector3(1.0f, 0.0f, 1.0f), instance.positions[0]);

    instance.resetPose();
    instance.skin();
    EXPECT_EQ(model->positions, instance.positions);
}

TEST(ModelInstanceBindPose, UnlistedVertexAndItsNormalStayInPlace) {
    auto model = makeQuadModel(makeAxisBone("bone", {0}));
    ModelInstance instance(model.get());
    instance.root->setTransform(rotation(Vector3::ZAxis, 90.0f));
    instance.skin();
    expectNear(instance.positions[0], Vector3(0.0f, 1.0f, 0.0f));
    expectNear(instance.normals[0], Vector3(0.0f, 1.0f, 0.0f));
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(model->positions[i], instance.positions[i]);
        EXPECT_EQ(model->normals[i], instance.normals[i]);
    }
}

TEST(ModelInstanceHierarchy, ParentWithoutVerticesStillMovesItsChild) {
    auto parent = makeAxisBone("parent");
    parent->firstChild = makeAxisBone("child", {2});
    auto model = makeQuadModel(std::move(parent));
    ModelInstance instance(model.get());
    instance.root->setTransform(rotation(Vector3::ZAxis, 90.0f));
    instance.root->firstChild->setTransform(translation(1.0f, 0.0f, 0.0f));
    instance.skin();
    // The child's own move (+X) happens in the parent's turned frame, so it ends up along +Y.
    expectNear(instance.positions[2], Vector3(0.0f, 1.0f, 1.0f));
    EXPECT_EQ(model->positions[0], instance.positions[0]);
}

TEST(ModelInstanceHierarchy, SiblingsShareTheParentsWorldMatrix) {
    auto parent = makeAxisBone("parent");
    parent->firstChild = makeAxisBone("first", {0});
    parent->firstChild->nextSibling = makeAxisBone("second", {1});
    auto model = makeQuadModel(std::move(parent));
    ModelInstance instance(model.get());
    instance.root->setTransform(translation(0.0f, 0.0f, 5.0f));
    instance.root->firstChild->setTransform(translation(1.0f, 0.0f, 0.0f));
    instance.skin();
    // The second child is not moved by its elder sibling, only by the parent.
    EXPECT_EQ(Vector3(2.0f, 0.0f, 5.0f), instance.positions[0]);
    EXPECT_EQ(Vector3(0.0f, 1.0f, 5.0f), instance.positions[1]);
}

TEST(ModelInstanceHierarchy, VertexListedByTwoBonesIsMovedByBoth) {
    auto first = makeAxisBone("first", {0});
    first->nextSibling = makeAxisBone("second", {0});
    auto model = makeQuadModel(std::move(first));
    ModelInstance instance(model.get());
    instance.root->setTransform(translation(1.0f, 0.0f, 0.0f));
    instance.root->nextSibling->setTransform(rotation(Vector3::ZAxis, 90.0f));
    instance.skin();
    // Moved to (2, 0, 0) by the first bone, then turned onto (0, 2, 0) by the second.
    expectNear(instance.positions[0], Vector3(0.0f, 2.0f, 0.0f));
}

TEST(ModelInstanceNormals, ScaledBoneGivesNormalsThatAreNotUnitLength) {
    auto model = makeQuadModel(makeAxisBone("bone", {0, 3}));
    ModelInstance instance(model.get());
    BoneTransform stretched;
    stretched.scale.set(2.0f, 1.0f, 1.0f);
    instance.root->setTransform(stretched);
    instance.skin();
    EXPECT_EQ(Vector3(2.0f, 0.0f, 0.0f), instance.normals[0]);
    EXPECT_EQ(Vector3(0.0f, 0.6f, 0.8f), instance.normals[3]);
    EXPECT_EQ(Vector3(2.0f, 1.0f, 1.0f), instance.positions[3]);
}

TEST(ModelInstanceNormals, NormalSharedByManyCornersIsTurnedOnce) {
    // Two quads whose eight corners all use normal 0; position 0 lists it twice.
    auto model =
        makeModel({Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f), Vector3(0.0f, 0.0f, 1.0f),
                   Vector3(1.0f, 1.0f, 0.0f)},
                  {Vector3(1.0f, 0.0f, 0.0f)},
                  {makeFace({0, 1, 2, 3}, {0, 0, 0, 0}), makeFace({0, 3, 2, 1}, {0, 0, 0, 0})},
                  makeAxisBone("bone", {0, 1, 2, 3}));
    ASSERT_EQ(2u, model->normalLists[0].size());
    ModelInstance instance(model.get());
    instance.root->setTransform(rotation(Vector3::ZAxis, 30.0f));
    instance.skin();
    expectNear(instance.normals[0], Vector3(std::sqrt(3.0f) / 2.0f, 0.5f, 0.0f));
    instance.skin();
    expectNear(instance.normals[0], Vector3(std::sqrt(3.0f) / 2.0f, 0.5f, 0.0f));
}

TEST(ModelInstanceNormals, NormalReachedFromTwoBonesTakesTheLastBoneInWalkOrder) {
    // Normal 1 is used by position 0 (first bone, turned about Z) and position 1 (second bone,
    // turned about X); the second bone comes later in the walk and sets it from its bind value.
    auto first = makeAxisBone("first", {0});
    first->nextSibling = makeAxisBone("second", {1});
    auto model = makeModel({Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f)},
                           {Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f)},
                           {makeFace({0, 1, 1, 0}, {1, 1, 1, 0})}, std::move(first));
    ModelInstance instance(model.get());
    instance.root->setTransform(rotation(Vector3::ZAxis, 90.0f));
    instance.root->nextSibling->setTransform(rotation(Vector3::XAxis, 90.0f));
    instance.skin();
    expectNear(instance.normals[1], Vector3(0.0f, 0.0f, 1.0f));
    expectNear(instance.normals[0], Vector3(0.0f, 1.0f, 0.0f));
}

TEST(ModelInstanceRobustness, IndicesOutsideTheBuffersAreIgnored) {
    auto model = makeQuadModel(makeAxisBone("bone", {-1, 0, 4, 99}));
    model->normalLists[0].push_back(17);
    model->normalLists[0].push_back(-3);
    ModelInstance instance(model.get());
    instance.root->setTransform(translation(0.0f, 0.0f, 1.0f));
    instance.skin();
    ASSERT_EQ(4u, instance.positions.size());
    ASSERT_EQ(4u, instance.normals.size());
    EXPECT_EQ(Vector3(1.0f, 0.0f, 1.0f), instance.positions[0]);
    EXPECT_EQ(model->positions[1], instance.positions[1]);
}

TEST(ModelInstanceRobustness, ModelWithoutBonesShowsTheBindPose) {
    auto model = makeQuadModel(nullptr);
    ModelInstance instance(model.get());
    EXPECT_EQ(nullptr, instance.root);
    instance.resetPose();
    instance.skin();
    EXPECT_EQ(model->positions, instance.positions);
    EXPECT_EQ(model->normals, instance.normals);
}

}  // namespace
}  // namespace vorel
