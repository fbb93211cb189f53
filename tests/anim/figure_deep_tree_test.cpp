// The figure's blend walk over a bone chain far deeper than any call stack.
#include <gtest/gtest.h>

#include "anim/figure.h"
#include "math/hash_name.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

constexpr int ChainLength = 200000;

TEST(FigureDeepTree, EveryBoneOfALongChainFollowsItsTrack) {
    // Every bone is named "link", so the one track drives them all; the last moves position 0.
    auto root = std::make_unique<BoneData>();
    BoneData* bone = root.get();
    for (int i = 0; i < ChainLength; ++i) {
        bone->nameHash = hashName("link");
        if (i + 1 < ChainLength) {
            bone->firstChild = std::make_unique<BoneData>();
            bone = bone->firstChild.get();
        }
    }
    bone->vertices.push_back(0);
    AssetLibrary library;
    library.addModel(test_support::makeModel({Vector3()}, {Vector3(1.0f, 0.0f, 0.0f)},
                                             {test_support::makeFace({0, 0, 0, 0}, {0, 0, 0, 0})},
                                             std::move(root)),
                     "chain");
    std::vector<TrackData> tracks;
    tracks.push_back(test_support::makePoseTrack("link", Vector3(0.0f, 0.0f, 1.0f),
                                                 Vector3(1.0f, 1.0f, 1.0f), Quaternion::Identity));
    library.addAnimation(test_support::makeAnimation(1.0f, std::move(tracks)), "Rise");
    Figure figure(&library);
    ActiveAnimation record("Rise", 0.0f);
    figure.startAnimation(record);
    figure.update(0.01f);
    EXPECT_EQ(Vector3(0.0f, 0.0f, static_cast<float>(ChainLength)),
              figure.instances[0]->positions[0]);
}

}  // namespace
}  // namespace vorel
