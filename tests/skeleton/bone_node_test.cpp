// BoneNode: the tree it mirrors, the local matrix built from a BoneTransform, and the reset.
#include "skeleton/bone_node.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "skeleton/model_instance.h"
#include "tests/support/near.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {

using namespace test_support;
namespace {

using test_support::makeAxisBone;
using test_support::makeBone;
using test_support::makeModel;
using test_support::rotationAbout;

void expectNearIdentity(const Matrix4& m) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(Matrix4::Identity.element(i), m.element(i), 1e-6f) << i;
}

// A bone whose rest frame is neither at the origin nor aligned with the model axes.
std::unique_ptr<BoneData> makeTiltedBone() {
    return makeBone("tilted", Vector3(1.0f, 2.0f, 3.0f), Vector3(2.0f, 3.0f, 3.5f),
                    Vector3(0.0f, 4.0f, 3.0f));
}

TEST(BoneNodeTree, SingleBoneHasNoLinksAndIdentityLocal) {
    auto bone = makeAxisBone("only");
    BoneNode node(bone.get());
    EXPECT_EQ(bone.get(), node.bone);
    EXPECT_EQ(nullptr, node.firstChild);
    EXPECT_EQ(nullptr, node.nextSibling);
    EXPECT_EQ(Matrix4::Identity, node.local);
}

TEST(BoneNodeTree, MirrorsChildSubtreeBeforeSibling) {
    // The tree of four records flagged (1,0), (1,1), (0,0), (0,0) in file order.
    auto first = makeAxisBone("first");
    first->firstChild = makeAxisBone("second");
    BoneData* second = first->firstChild.get();
    second->firstChild = makeAxisBone("third");
    second->nextSibling = makeAxisBone("fourth");

    BoneNode root(first.get());
    ASSERT_NE(nullptr, root.firstChild);
    EXPECT_EQ(nullptr, root.nextSibling);
    const BoneNode& secondNode = *root.firstChild;
    EXPECT_EQ(second, secondNode.bone);
    ASSERT_NE(nullptr, secondNode.firstChild);
    ASSERT_NE(nullptr, secondNode.nextSibling);
    EXPECT_EQ(second->firstChild.get(), secondNode.firstChild->bone);
    EXPECT_EQ(second->nextSibling.get(), secondNode.nextSibling->bone);
    EXPECT_EQ(nullptr, secondNode.firstChild->firstChild);
    EXPECT_EQ(nullptr, secondNode.nextSibling->nextSibling);
    EXPECT_EQ(Matrix4::Identity, secondNode.nextSibling->local);
}

TEST(BoneNodeTransform, NeutralTransformLeavesPointsInPlace) {
    auto bone = makeTiltedBone();
    BoneNode node(bone.get());
    node.setTransform(BoneTransform{});
    expectNearIdentity(node.local);
}

TEST(BoneNodeTransform, ScaleActsBeforeRotationInTheRestFrame) {
    auto bone = makeTiltedBone();
    BoneNode node(bone.get());
    BoneTransform transform;
    transform.scale.set(2.0f, 1.0f, 1.0f);
    transform.rotation.set(0.0f, 0.0f, 0.7071068f, 0.7071068f);
    node.setTransform(transform);

    // Rest-frame (1, 0, 0) is scaled to (2, 0, 0), then turned a quarter about the bone's Z.
    const Vector3 start = transformPoint(bone->returnMatrix, Vector3(1.0f, 0.0f, 0.0f));
    const Vector3 expected = transformPoint(bone->returnMatrix, Vector3(0.0f, 2.0f, 0.0f));
    expectNear(transformPoint(node.local, start), expected);
    // The bone's head is the fixed point of rotation and scale.
    expectNear(transformPoint(node.local, bone->head), bone->head);
}

TEST(BoneNodeTransform, TranslationIsInTheRestFrame) {
    auto bone = makeTiltedBone();
    BoneNode node(bone.get());
    BoneTransform transform;
    transform.translation.set(0.0f, 0.0f, 2.0f);
    node.setTransform(transform);
    // Two units along the bone's own direction, head to tail (1, 1, 0.5) / 1.5.
    expectNear(transformPoint(node.local, bone->head),
               Vector3(1.0f + 4.0f / 3.0f, 2.0f + 4.0f / 3.0f, 3.0f + 2.0f / 3.0f));
}

TEST(BoneNodeTransform, ZeroRotationActsAsIdentity) {
    auto bone = makeTiltedBone();
    BoneNode node(bone.get());
    BoneTransform transform;
    transform.rotation.set(0.0f, 0.0f, 0.0f, 0.0f);
    node.setTransform(transform);
    expectNearIdentity(node.local);
}

TEST(BoneNodeTransform, AxisBoneLocalIsTranslateRotateScale) {
    auto bone = makeAxisBone("axis");
    BoneNode node(bone.get());
    BoneTransform transform;
    transform.translation.set(1.0f, 2.0f, 3.0f);
    transform.scale.set(1.0f, 3.0f, 1.0f);
    transform.rotation = rotationAbout(Vector3::XAxis, 90.0f);
    node.setTransform(transform);
    // (0, 1, 0) scaled to (0, 3, 0), turned onto (0, 0, 3), moved to (1, 2, 6).
    expectNear(transformPoint(node.local, Vector3(0.0f, 1.0f, 0.0f)), Vector3(1.0f, 2.0f, 6.0f));
}

TEST(BoneNodeTransform, LocalHasTheBitsOfTheMathLibrarysProducts) {
    // B * T * R * S * A through rotateBy, setColumn and composeAffine, element for element.
    auto bone = makeTiltedBone();
    BoneNode node(bone.get());
    std::mt19937 random(43);
    std::uniform_real_distribution<float> any(-3.0f, 3.0f);
    for (int trial = 0; trial < 2000; ++trial) {
        BoneTransform transform;
        transform.translation.set(any(random), any(random), any(random));
        transform.scale.set(any(random), any(random), any(random));
        transform.rotation.set(any(random), any(random), any(random), any(random));
        node.setTransform(transform);
        Matrix4 pose;
        pose.element(0) = transform.scale.x;
        pose.element(5) = transform.scale.y;
        pose.element(10) = transform.scale.z;
        pose.rotateBy(transform.rotation);
        pose.setColumn(3, transform.translation.x, transform.translation.y,
                       transform.translation.z);
        pose.element(15) = 1.0f;
        const Matrix4 expected =
            composeAffine(composeAffine(bone->restMatrix, pose), bone->returnMatrix);
        for (int i = 0; i < 16; ++i) {
            std::uint32_t want;
            std::uint32_t got;
            const float wantValue = expected.element(i);
            const float gotValue = node.local.element(i);
            std::memcpy(&want, &wantValue, sizeof want);
            std::memcpy(&got, &gotValue, sizeof got);
            ASSERT_EQ(want, got) << "element " << i << " of trial " << trial;
        }
    }
}

// Every node of a tree, in no particular order.
std::vector<BoneNode*> allNodes(BoneNode* root) {
    std::vector<BoneNode*> nodes;
    std::vector<BoneNode*> pending{root};
    while (!pending.empty()) {
        BoneNode* node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        if (node->firstChild) pending.push_back(node->firstChild.get());
        if (node->nextSibling) pending.push_back(node->nextSibling.get());
    }
    return nodes;
}

TEST(BoneNodeReset, ResetPoseRestoresEveryLocalIncludingLongSiblingChains) {
    // A root with a chain of 500 children, each of which has a child of its own.
    auto root = makeAxisBone("root");
    root->firstChild = makeAxisBone("child");
    BoneData* child = root->firstChild.get();
    for (int i = 0; i < 500; ++i) {
        child->firstChild = makeAxisBone("grandchild");
        child->nextSibling = makeAxisBone("child");
        child = child->nextSibling.get();
    }
    auto model = makeModel({Vector3()}, {Vector3()},
                           {test_support::makeFace({0, 0, 0, 0}, {0, 0, 0, 0})}, std::move(root));
    ModelInstance instance(model.get());
    std::vector<BoneNode*> nodes = allNodes(instance.root.get());
    ASSERT_EQ(1u + 500u * 2u + 1u, nodes.size());
    BoneTransform moved;
    moved.translation.set(1.0f, 0.0f, 0.0f);
    for (BoneNode* node : nodes) node->setTransform(moved);

    instance.resetPose();
    for (BoneNode* node : nodes) EXPECT_EQ(Matrix4::Identity, node->local);
}

}  // namespace
}  // namespace vorel
