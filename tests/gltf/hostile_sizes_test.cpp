// Files whose size alone is hostile: thousands of equal names, node chains a hundred thousand
// long, skins listed leaves first. Each is handled in time linear in the file (these sizes took
// minutes or ran out of memory when it was not), which each test measures at a quarter of its
// size and at its full size, or refused with one line.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "assets/write_set.h"
#include "convert/unique_names.h"
#include "gltf/gltf_scene_graph.h"
#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_builder.h"
#include "tests/support/work_growth.h"

namespace vorel::test_support {
namespace {

std::set<std::string> takenNames(int count) {
    UniqueNames names;
    std::set<std::string> seen;
    for (int i = 0; i < count; ++i) seen.insert(names.take("j"));
    return seen;
}

TEST(HostileSizes, UniqueNamesNumberEqualNamesInOrderAndSkipTakenOnes) {
    UniqueNames names;
    names.reserve("j_3");
    EXPECT_EQ(names.take("j"), "j");
    EXPECT_EQ(names.take("j"), "j_2");
    EXPECT_EQ(names.take("j"), "j_4");
    EXPECT_EQ(names.take("j_2"), "j_2_2");
    const std::set<std::string> seen = takenNames(200000);
    EXPECT_EQ(seen.size(), 200000u);
    EXPECT_EQ(*seen.rbegin(), "j_99999");  // the largest in text order of j_2 ... j_200000

    const WorkGrowth growth = workGrowth(takenNames, 50000);
    EXPECT_LT(growth.ratio(), MostLinearGrowth) << growth.describe();
}

// A triangle skinned over `joints` (each bound at the origin), as a GLB.
std::string skinOver(GltfBuilder& builder, const std::vector<int>& joints) {
    addTriangleSkinnedAtOrigin(builder, joints, {0, 1, 2});
    return builder.glb();
}

ImportedSet imported(const std::string& glb) {
    ImportedSet result;
    LoadError error;
    EXPECT_TRUE(importWithoutFit(glb, result, error)) << error.describe();
    return result;
}

// Each document made once, before any import is timed.
template <class Make>
std::map<int, std::string> documentsOfSizes(Make make, int size) {
    return {{size, make(size)}, {4 * size, make(4 * size)}};
}

std::string equalJointNames(int joints) {
    GltfBuilder builder;
    const int root = builder.addNode("j");
    std::vector<int> nodes = {root};
    for (int j = 1; j < joints; ++j) nodes.push_back(builder.addNode("j", root));
    return skinOver(builder, nodes);
}

TEST(HostileSizes, ThousandsOfEqualJointNamesImportWithUniqueBoneNames) {
    constexpr int Joints = 3000;
    const std::map<int, std::string> documents = documentsOfSizes(equalJointNames, Joints / 4);
    const ImportedSet set = imported(documents.at(Joints));
    EXPECT_EQ(set.boneCount, static_cast<std::size_t>(Joints));
    ASSERT_NE(set.model, nullptr);
    EXPECT_EQ(set.model->boneNames.size(), static_cast<std::size_t>(Joints));

    const WorkGrowth growth =
        workGrowth([&](int joints) { imported(documents.at(joints)); }, Joints / 4);
    EXPECT_LT(growth.ratio(), MostLinearGrowth) << growth.describe();
}

tinygltf::Model nodeChain(int length) {
    tinygltf::Model model;
    model.nodes.resize(static_cast<std::size_t>(length));
    for (int n = 0; n + 1 < length; ++n)
        model.nodes[static_cast<std::size_t>(n)].children = {n + 1};
    return model;
}

std::vector<int> nearestAncestorsInChain(const tinygltf::Model& chain) {
    GltfSceneGraph graph;
    LoadError error;
    EXPECT_TRUE(buildSceneGraph(chain, graph, error)) << error.describe();
    EXPECT_EQ(graph.sceneOrder.size(), chain.nodes.size());
    return nearestMarkedAncestors(graph, std::vector<char>(chain.nodes.size(), 1));
}

TEST(HostileSizes, LongNodeChainsAndTheirCyclesAreFoundInOnePass) {
    constexpr int Length = 200000;
    tinygltf::Model model = nodeChain(Length);
    const std::vector<int> nearest = nearestAncestorsInChain(model);
    EXPECT_EQ(nearest.back(), Length - 2);
    EXPECT_EQ(nearest.front(), -1);

    // The last node back to the middle: every node from the middle on reaches a cycle.
    model.nodes.back().children = {Length / 2};
    model.nodes[static_cast<std::size_t>(Length / 2 - 1)].children.clear();
    GltfSceneGraph graph;
    LoadError error;
    EXPECT_FALSE(buildSceneGraph(model, graph, error));
    EXPECT_EQ(error.section, "/nodes/" + std::to_string(Length / 2));
    EXPECT_EQ(error.message, "node graph has a cycle");

    const std::map<int, tinygltf::Model> chains = {{Length / 4, nodeChain(Length / 4)},
                                                   {Length, nodeChain(Length)}};
    const WorkGrowth growth =
        workGrowth([&](int length) { nearestAncestorsInChain(chains.at(length)); }, Length / 4);
    EXPECT_LT(growth.ratio(), MostLinearGrowth) << growth.describe();
}

std::string chainListedLeavesFirst(int joints) {
    GltfBuilder builder;
    std::vector<int> chain = {builder.addNode("j0")};
    for (int j = 1; j < joints; ++j)
        chain.push_back(builder.addNode("j" + std::to_string(j), chain.back()));
    return skinOver(builder, std::vector<int>(chain.rbegin(), chain.rend()));
}

TEST(HostileSizes, ASkinListingADeepChainLeavesFirstFindsItsRootInOnePass) {
    constexpr int Joints = 20000;
    const std::map<int, std::string> documents =
        documentsOfSizes(chainListedLeavesFirst, Joints / 4);
    EXPECT_EQ(imported(documents.at(Joints)).boneCount, static_cast<std::size_t>(Joints));

    const WorkGrowth growth =
        workGrowth([&](int joints) { imported(documents.at(joints)); }, Joints / 4);
    EXPECT_LT(growth.ratio(), MostLinearGrowth) << growth.describe();
}

std::vector<std::string> fileNamesOfEqualNames(int count) {
    return animationFileNames(
        std::vector<std::string>(static_cast<std::size_t>(count), "same name"));
}

TEST(HostileSizes, AnimationFileNamesOfManyNamesSharingAStemStayDistinct) {
    const std::vector<std::string> files = fileNamesOfEqualNames(20000);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).size(), files.size());
    EXPECT_EQ(files[0], "same_name.anim");
    EXPECT_EQ(files[1], "same_name_1.anim");
    EXPECT_EQ(files[2], "same_name_2.anim");

    const WorkGrowth growth = workGrowth(fileNamesOfEqualNames, 5000);
    EXPECT_LT(growth.ratio(), MostLinearGrowth) << growth.describe();
}

}  // namespace
}  // namespace vorel::test_support
