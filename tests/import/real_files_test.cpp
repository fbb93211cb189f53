// vorel-import on files nobody here made (Debian's assimp-testmodels): a capture whose
// Frames: line miscounts, glTF 1.0 samples, a travelling CMU capture and a wide static model.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/fixed_view.h"
#include "assets/load_model.h"
#include "tests/import/run_import.h"
#include "tests/support/program_runner.h"

namespace vorel::test_support {
namespace {

namespace fs = std::filesystem;

const std::string Models = VOREL_ASSIMP_MODELS;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ImportRealFiles, ABvhWhoseFramesLineMiscountsImportsEveryMotionLineWithAWarning) {
    const std::string capture = Models + "/BVH/Boxing_Toes.bvh";
    const std::string set = makeScratchFolder() + "/boxing";
    const RunResult run = runImport({capture, set});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "3070 frames of 0.01 s")) << run.out;
    EXPECT_TRUE(contains(run.out, "warning: " + capture +
                                      ": 'Frames:' says 3069, but 3070 motion lines follow; all "
                                      "3070 are used\n"))
        << run.out;
    EXPECT_TRUE(fs::exists(set + "/vorel.txt"));
}

TEST(ImportRealFiles, GltfOneFilesAreRefusedForTheirVersionInOneLine) {
    const std::string scratch = makeScratchFolder();
    for (const char* file :
         {"/glTF/TwoBoxes/TwoBoxes.gltf", "/glTF/BoxTextured-glTF-Binary/BoxTextured.glb",
          "/glTF/BoxTextured-glTF-Embedded/BoxTextured.gltf",
          "/glTF/CesiumMilkTruck/CesiumMilkTruck.gltf",
          "/glTF/IncorrectVertexArrays/Cube_v1.gltf"}) {
        const RunResult run = runImport({Models + file, scratch + "/set"});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_EQ(run.err, Models + file + ": glTF 1.0 is not supported; glTF 2.0 is\n");
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(scratch + "/set"));
    }
}

TEST(ImportRealFiles, ATravellingCaptureSaysTheTravelTakesItOutAndInPlaceKeepsItOnTheSpot) {
    const std::string capture = Models + "/BVH/01_01.bvh";
    const std::string scratch = makeScratchFolder();
    const RunResult travelling = runImport({capture, scratch + "/walk"});
    ASSERT_EQ(travelling.status, 0) << travelling.err;
    const std::size_t at = travelling.out.find("warning: ");
    ASSERT_NE(at, std::string::npos) << travelling.out;
    const std::string warning = travelling.out.substr(at);
    EXPECT_TRUE(contains(warning, " of 2752 frames, from frame ")) << warning;
    EXPECT_TRUE(contains(warning, "the travel across the floor")) << warning;
    EXPECT_TRUE(contains(warning, "--in-place")) << warning;
    const int outWithTravel = std::stoi(warning.substr(9));

    const RunResult inPlace = runImport({"--in-place", capture, scratch + "/still"});
    ASSERT_EQ(inPlace.status, 0) << inPlace.err;
    const std::size_t still = inPlace.out.find("warning: ");
    const int outInPlace =
        still == std::string::npos ? 0 : std::stoi(inPlace.out.substr(still + 9));
    EXPECT_LT(outInPlace * 4, outWithTravel);
    // What the first run foretold for --in-place is what --in-place does.
    EXPECT_TRUE(contains(warning, "with --in-place " + std::to_string(outInPlace) + " frames") ||
                (outInPlace == 0 && contains(warning, "keeps every frame in")))
        << warning << inPlace.out;

    const RunResult gltf =
        runImport({"--in-place", Models + "/glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb",
                   scratch + "/x"});
    EXPECT_EQ(gltf.status, 2);
    EXPECT_TRUE(contains(gltf.err, "--in-place applies to BVH captures")) << gltf.err;
}

TEST(ImportRealFiles, AWideStaticModelIsFittedSoEveryVertexStaysInThePicture) {
    const std::string set = makeScratchFolder() + "/engine";
    const RunResult run =
        runImport({Models + "/glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb", set});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "(smaller than the standing height asks")) << run.out;
    LoadError error;
    const auto model = loadModel(set + "/2CylinderEngine.ply", &error);
    ASSERT_NE(model, nullptr) << error.describe();
    float top = 0.0f;
    for (const Vector3& p : model->positions) {
        ASSERT_TRUE(insideViewAtEveryTurn(p)) << p.x << " " << p.y << " " << p.z;
        top = std::max(top, p.y);
    }
    // As large as it can be: a few percent larger and some vertex would leave.
    bool leaves = false;
    for (const Vector3& p : model->positions) {
        const Vector3 larger(1.03f * p.x, 88.0f + 1.03f * (p.y - 88.0f), 1.03f * p.z);
        leaves = leaves || !insideViewAtEveryTurn(larger);
    }
    EXPECT_TRUE(leaves);
}

}  // namespace
}  // namespace vorel::test_support
