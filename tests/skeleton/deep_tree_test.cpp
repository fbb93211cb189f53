// Bone trees far deeper and wider than any call stack: building, resetting, skinning and
// releasing an instance must not recurse once per bone.
#include <gtest/gtest.h>

#include "skeleton/model_instance.h"
#include "tests/skeleton/runtime_test_models.h"

namespace vorel {
namespace {

constexpr int BoneCount = 1000000;

// BoneCount bones linked through firstChild (a chain) or nextSibling (one long sibling list);
// the last bone moves position 0. Rest frames are the identity.
std::unique_ptr<ModelData> makeLongModel(bool throughChildren) {
    auto root = std::make_unique<BoneData>();
    BoneData* bone = root.get();
    for (int i = 1; i < BoneCount; ++i) {
        std::unique_ptr<BoneData>& link = throughChildren ? bone->firstChild : bone->nextSibling;
        link = std::make_unique<BoneData>();
        bone = link.get();
    }
    bone->vertices.push_back(0);
    return testing::makeModel({Vector3(0.0f, 0.0f, 0.0f)}, {Vector3(1.0f, 0.0f, 0.0f)},
                              {testing::makeFace({0, 0, 0, 0}, {0, 0, 0, 0})}, std::move(root));
}

void translateEveryBone(BoneNode* root, const BoneTransform& transform) {
    std::vector<BoneNode*> pending{root};
    while (!pending.empty()) {
        BoneNode* node = pending.back();
        pending.pop_back();
        node->setTransform(transform);
        if (node->nextSibling) pending.push_back(node->nextSibling.get());
        if (node->firstChild) pending.push_back(node->firstChild.get());
    }
}

TEST(DeepBoneTree, MillionBoneChainComposesEveryParent) {
    auto model = makeLongModel(true);
    auto instance = std::make_unique<ModelInstance>(model.get());
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance->positions[0]);

    BoneTransform lift;
    lift.translation.set(0.0f, 0.0f, 1.0f);
    translateEveryBone(instance->root.get(), lift);
    instance->skin();
    // Every bone of the chain adds its lift: whole numbers, exact in single precision.
    EXPECT_EQ(Vector3(0.0f, 0.0f, static_cast<float>(BoneCount)), instance->positions[0]);

    instance->resetPose();
    instance->skin();
    EXPECT_EQ(Vector3(0.0f, 0.0f, 0.0f), instance->positions[0]);
    instance.reset();
}

TEST(DeepBoneTree, MillionSiblingsEachUseTheRootsParent) {
    auto model = makeLongModel(false);
    auto instance = std::make_unique<ModelInstance>(model.get());
    BoneTransform lift;
    lift.translation.set(0.0f, 0.0f, 1.0f);
    translateEveryBone(instance->root.get(), lift);
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
