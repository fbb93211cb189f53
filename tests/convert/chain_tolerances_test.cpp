// Each bone's key tolerances follow how far its vertices lie from it, whether a bone moves
// them alone or shares them with others.
#include "convert/chain_tolerances.h"

#include <gtest/gtest.h>

#include <memory>

namespace vorel {
namespace {

// A root at the origin with one child at (0, 1, 0), and a position ten units up the child.
std::unique_ptr<ModelData> twoBoneModel() {
    auto model = std::make_unique<ModelData>();
    model->rootBone = std::make_unique<BoneData>();
    model->rootBone->firstChild = std::make_unique<BoneData>();
    model->rootBone->firstChild->head = Vector3(0.0f, 1.0f, 0.0f);
    model->positions = {Vector3(0.0f, 11.0f, 0.0f)};
    return model;
}

WeightedVertex sharedByBoth() {
    WeightedVertex weighted;
    weighted.influences.count = 2;
    weighted.influences.influences[0] = {0, 0.25f};
    weighted.influences.influences[1] = {1, 0.75f};
    return weighted;
}

TEST(ChainTolerances, AVertexFarFromItsBonesTightensTheirTurnsWhetherListedOrWeighted) {
    const KeyTolerances loosest;
    const double budget = 0.001;
    const std::unique_ptr<ModelData> bare = twoBoneModel();
    const std::vector<KeyTolerances> none = chainTolerances(*bare, budget, loosest);
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[1].angleDegrees, loosest.angleDegrees);

    const std::unique_ptr<ModelData> listed = twoBoneModel();
    listed->rootBone->firstChild->vertices = {0};
    const std::unique_ptr<ModelData> weighted = twoBoneModel();
    weighted->weightedVertices = {sharedByBoth()};
    const std::vector<KeyTolerances> byList = chainTolerances(*listed, budget, loosest);
    const std::vector<KeyTolerances> byWeight = chainTolerances(*weighted, budget, loosest);
    // Two bones on the chain: each turn may move the vertex budget / 6 at ten and eleven
    // units from the bones' heads.
    const double degreesPerRadian = 180.0 / 3.14159265358979323846;
    for (const auto& tolerances : {byList, byWeight}) {
        ASSERT_EQ(tolerances.size(), 2u);
        EXPECT_NEAR(tolerances[1].angleDegrees, budget / 6.0 / 10.0 * degreesPerRadian, 1e-12);
        EXPECT_NEAR(tolerances[0].angleDegrees, budget / 6.0 / 11.0 * degreesPerRadian, 1e-12);
        EXPECT_NEAR(tolerances[1].scale, budget / 6.0 / 10.0, 1e-12);
    }
}

TEST(ChainTolerances, InfluencesPastTheBonesOrPositionsArePassedOver) {
    const std::unique_ptr<ModelData> model = twoBoneModel();
    WeightedVertex pastBones = sharedByBoth();
    pastBones.influences.influences[1].bone = 7;
    WeightedVertex pastPositions = sharedByBoth();
    pastPositions.vertex = 3;
    WeightedVertex negative = sharedByBoth();
    negative.influences.influences[1].bone = -1;
    negative.influences.count = 9;
    model->weightedVertices = {pastBones, pastPositions, negative};
    const std::vector<KeyTolerances> tolerances = chainTolerances(*model, 0.001, KeyTolerances{});
    ASSERT_EQ(tolerances.size(), 2u);
    // Only influences on the root are left.
    EXPECT_LT(tolerances[0].angleDegrees, KeyTolerances{}.angleDegrees);
    EXPECT_EQ(tolerances[1].angleDegrees, KeyTolerances{}.angleDegrees);
}

}  // namespace
}  // namespace vorel
