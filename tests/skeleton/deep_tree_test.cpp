// Bone trees far deeper and wider than any call stack: building, resetting, skinning and
// releasing an instance must not recurse once per bone.
#include <gtest/gtest.h>

#include "skeleton/model_instance.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

constexpr int ChainLength = 1000000;
constexpr int SiblingCount = 100000;

// boneCount bones linked through firstChild (a chain) or nextSibling (one long sibling list);
// the last bone moves position 0. Rest frames are the identity.
std::unique_ptr<ModelData> makeLongModel(int boneCount, bool throughChildren) {
    auto root = std::make_unique<BoneData>();
    BoneData* bone = root.get();
    for (int i = 1; i < boneCount; ++i) {
        std::unique_ptr<BoneData>& link = throughChildren ? bone->firstChild : bone->nextSibling;
        link = std::make_unique<BoneData>();
        bone = link.get();
    }
    bone->vertices.push_back(0);
    return test_support::makeModel({Vector3(0.0f, 0.0f, 0.0f)}, {Vector3(1.0f, 0.0f, 0.0f)},
                                   {test_support::makeFace({0, 0, 0, 0}, {0, 0, 0, 0})},
                                   std::move(root));
}

// Gives every bone the local matrix of a one-unit lift along Z.
void liftEveryBone(BoneNode* root) {
    std::vector<BoneNode*> pending{root};
    while (!pending.empty()) {
        BoneNode* node = pending.back();
        pending.pop_back();
        node->local.setColumn(3, 0.0f, 0.0f, 1.0f);
        if (node->nextSibling) pending.push_back(node->nextSibling.get());
        if (node->firstChild) pending.push_back(node->firstChild.get());
    }
}

TEST(DeepBoneTree, MillionBoneChainComposesEveryParent) {
    auto model = makeLongModel(ChainLength, true);
    auto instance = std::make_unique<ModelInstance>(model.get());
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance->positions[0]);

    liftEveryBone(instance->root.get());
    instance->skin();
    // Every bone of the chain adds its lift: whole numbers, exact in single precision.
    EXPECT_EQ(Vector3(0.0f, 0.0f, static_cast<float>(ChainLength)), instance->positions[0]);

    instance->resetPose();
    instance->skin();
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance->positions[0]);
    instance.reset();
}

TEST(DeepBoneTree, LongSiblingChainSharesTheRootsParent) {
    auto model = makeLongModel(SiblingCount, false);
    auto instance = std::make_unique<ModelInstance>(model.get());
    liftEveryBone(instance->root.get());
    instance->skin();
    // Siblings do not compose: only the last bone's own lift moves its vertex.
    EXPECT_EQ(Vector3(0.0f, 0.0f, 1.0f), instance->positions[0]);
    instance->resetPose();
    instance->skin();
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance->positions[0]);
    instance.reset();
}

}  // namespace
}  // namespace vorel
