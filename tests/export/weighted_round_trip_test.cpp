// A smoothly skinned character through vorel-export and back through vorel-import: the file
// the export writes is clean for the Khronos validator, and every weighted vertex comes back
// with its bones and weights byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/load_model.h"
#include "skeleton/bone_walk.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

// Each weighted vertex's influences as (bone name, weight bits) pairs, counted.
std::map<std::vector<std::pair<std::string, std::uint32_t>>, int> influenceSets(
    const ModelData& model) {
    std::vector<std::string> names;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model.rootBone.get()), pending,
              [&names](const BoneData& bone) { names.push_back(bone.name); });
    std::map<std::vector<std::pair<std::string, std::uint32_t>>, int> sets;
    for (const WeightedVertex& weighted : model.weightedVertices) {
        std::vector<std::pair<std::string, std::uint32_t>> set;
        for (int k = 0; k < weighted.influences.count; ++k) {
            const Influence& influence = weighted.influences.influences[k];
            std::uint32_t bits = 0;
            std::memcpy(&bits, &influence.weight, sizeof bits);
            set.emplace_back(names[static_cast<std::size_t>(influence.bone)], bits);
        }
        ++sets[set];
    }
    return sets;
}

std::unique_ptr<AssetLibrary> importInto(const std::string& input, const std::string& folder) {
    const test_support::RunResult run =
        test_support::runProgram(VOREL_IMPORT_BINARY, {"--fit", "none", input, folder});
    EXPECT_EQ(run.status, 0) << run.err;
    std::string problem;
    auto library = loadLibraryBesideManifest(folder + "/vorel.txt", problem);
    EXPECT_NE(library, nullptr) << problem;
    return library;
}

TEST(WeightedRoundTrip, ExportedWeightsAreValidAndImportBackByteForByte) {
    const std::string folder = test_support::makeScratchFolder();
    const auto original = importInto(VOREL_ROBOT_GLB, folder + "/robot");
    ASSERT_NE(original, nullptr);
    const auto before = influenceSets(*original->models[0]);
    ASSERT_FALSE(before.empty());

    const std::string glb = folder + "/robot.glb";
    const test_support::RunResult exported =
        test_support::runProgram(VOREL_EXPORT_BINARY, {folder + "/robot/vorel.txt", glb});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const test_support::RunResult validated =
        test_support::runProgram("/usr/bin/env", {"node", VOREL_VALIDATE_SCRIPT, glb});
    EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
    EXPECT_NE(validated.out.find("errors 0  warnings 0"), std::string::npos) << validated.out;

    const auto again = importInto(glb, folder + "/again");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(before, influenceSets(*again->models[0]));
    EXPECT_EQ(original->models[0]->weightedVertices.size(),
              again->models[0]->weightedVertices.size());
}

}  // namespace
}  // namespace vorel
