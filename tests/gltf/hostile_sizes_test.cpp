// Files whose size alone is hostile: thousands of equal names, node chains a hundred thousand
// long, skins listed leaves first. Each is handled in time linear in the file (these sizes took
// minutes or ran out of memory when it was not) or refused with one line.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "assets/write_set.h"
#include "convert/unique_names.h"
#include "gltf/gltf_scene_graph.h"
#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_builder.h"

namespace vorel::test_support {
namespace {

TEST(HostileSizes, UniqueNamesNumberEqualNamesInOrderAndSkipTakenOnes) {
    UniqueNames names;
    names.reserve("j_3");
    EXPECT_EQ(names.take("j"), "j");
    EXPECT_EQ(names.take("j"), "j_2");
    EXPECT_EQ(names.take("j"), "j_4");
    EXPECT_EQ(names.take("j_2"), "j_2_2");
    std::set<std::string> seen;
    for (int i = 0; i < 200000; ++i) seen.insert(names.take("j"));
    EXPECT_EQ(seen.size(), 200000u);
    EXPECT_EQ(*seen.rbegin(), "j_99999");  // the largest in text order of j_5 ... j_200004
}

// A triangle skinned over `joints` (each bound at the origin), imported without the fit.
ImportedSet importSkinOver(GltfBuilder& builder, const std::vector<int>& joints) {
    addTriangleSkinnedAtOrigin(builder, joints, {0, 1, 2});
    ImportedSet result;
    LoadError error;
    EXPECT_TRUE(importWithoutFit(builder.glb(), result, error)) << error.describe();
    return result;
}

TEST(HostileSizes, ThousandsOfEqualJointNamesImportWithUniqueBoneNames) {
    constexpr int Joints = 3000;
    GltfBuilder builder;
    const int root = builder.addNode("j");
    std::vector<int> joints = {root};
    for (int j = 1; j < Joints; ++j) joints.push_back(builder.addNode("j", root));
    const ImportedSet imported = importSkinOver(builder, joints);
    EXPECT_EQ(imported.boneCount, static_cast<std::size_t>(Joints));
    ASSERT_NE(imported.model, nullptr);
    EXPECT_EQ(imported.model->boneNames.size(), static_cast<std::size_t>(Joints));
}

TEST(HostileSizes, LongNodeChainsAndTheirCyclesAreFoundInOnePass) {
    constexpr int Length = 200000;
    tinygltf::Model model;
    model.nodes.resize(Length);
    for (int n = 0; n + 1 < Length; ++n)
        model.nodes[static_cast<std::size_t>(n)].children = {n + 1};
    GltfSceneGraph graph;
    LoadError error;
    ASSERT_TRUE(buildSceneGraph(model, graph, error)) << error.describe();
    EXPECT_EQ(graph.sceneOrder.size(), static_cast<std::size_t>(Length));
    const std::vector<int> nearest =
        nearestMarkedAncestors(graph, std::vector<char>(static_cast<std::size_t>(Length), 1));
    EXPECT_EQ(nearest.back(), Length - 2);
    EXPECT_EQ(nearest.front(), -1);

    // The last node back to the middle: every node from the middle on reaches a cycle.
    model.nodes.back().children = {Length / 2};
    model.nodes[static_cast<std::size_t>(Length / 2 - 1)].children.clear();
    EXPECT_FALSE(buildSceneGraph(model, graph, error));
    EXPECT_EQ(error.section, "/nodes/" + std::to_string(Length / 2));
    EXPECT_EQ(error.message, "node graph has a cycle");
}

TEST(HostileSizes, ASkinListingADeepChainLeavesFirstFindsItsRootInOnePass) {
    constexpr int Joints = 20000;
    GltfBuilder builder;
    std::vector<int> chain = {builder.addNode("j0")};
    for (int j = 1; j < Joints; ++j)
        chain.push_back(builder.addNode("j" + std::to_string(j), chain.back()));
    const std::vector<int> leavesFirst(chain.rbegin(), chain.rend());
    EXPECT_EQ(importSkinOver(builder, leavesFirst).boneCount, static_cast<std::size_t>(Joints));
}

TEST(HostileSizes, AnimationFileNamesOfManyNamesSharingAStemStayDistinct) {
    const std::vector<std::string> names(20000, "same name");
    const std::vector<std::string> files = animationFileNames(names);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).size(), names.size());
    EXPECT_EQ(files[0], "same_name.anim");
    EXPECT_EQ(files[1], "same_name_1.anim");
    EXPECT_EQ(files[2], "same_name_2.anim");
}

}  // namespace
}  // namespace vorel::test_support
