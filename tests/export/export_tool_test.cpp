// The vorel-export binary on small sets written with the project's writers: the summary, the
// files it writes (read back with tinygltf), the validator on a one-bone one-face model, and
// every way it must fail: usage, a manifest the viewer refuses, an output it cannot write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "gltf/gltf_document.h"
#include "gltf/gltf_name_bytes.h"
#include "skeleton/bone_walk.h"
#include "tests/support/box_figure.h"
#include "tests/support/box_set_folder.h"
#include "tests/support/program_runner.h"
#include "tests/support/runtime_test_models.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;
using test_support::BoxSetFolder;
using test_support::makeScratchFolder;
using test_support::RunResult;
using test_support::splitLines;

RunResult runExport(const std::vector<std::string>& arguments) {
    return test_support::runProgram(VOREL_EXPORT_BINARY, arguments);
}

std::vector<std::string> folderListing(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool loadsWithTinygltf(const std::string& path, tinygltf::Model& gltf) {
    std::string warnings;
    LoadError error;
    const bool loaded = loadGltfDocument(path, gltf, warnings, error);
    EXPECT_TRUE(loaded) << error.describe();
    return loaded;
}

struct FaceSetNames {
    std::string model = "Face";
    std::string bone = "only";
    std::string animation = "Turn";
};

// One bone moving the one quad of four positions, and one animation of the given tracks.
std::string writeOneFaceSet(const std::string& folder, const std::vector<TrackData>& tracks,
                            const FaceSetNames& names = {}) {
    auto model = test_support::makeModel({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 0, 2}},
                                         {test_support::makeFace({0, 1, 2, 3}, {0, 0, 0, 0})},
                                         test_support::makeAxisBone(names.bone, {0, 1, 2, 3}));
    model->header = std::make_unique<ModelHeader>(standardModelHeader());
    EXPECT_TRUE(saveModel(*model, folder + "/face.ply"));
    EXPECT_TRUE(saveAnimation(*test_support::makeAnimation(0.2f, tracks), folder + "/turn.anim"));
    EXPECT_TRUE(saveManifest(folder + "/vorel.txt", {{names.model, "face.ply"}},
                             {{names.animation, "turn.anim"}}));
    return folder + "/vorel.txt";
}

TrackData turnTrack(const std::string& bone) {
    const Quaternion half = test_support::rotationAbout(Vector3(0, 1, 0), 90.0f);
    return test_support::makePoseTrack(bone, Vector3(1, 2, 3), Vector3(1, 2, 0.5f), half);
}

TEST(ExportTool, HelpExitsZeroAndUsageErrorsExitTwo) {
    const RunResult help = runExport({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: vorel-export", 0), 0u);
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"only-one.txt"},
        {"a", "b", "c"},
        {"--speed", "0", "a", "b"},
        {"--speed"},
        {"--frames", "10", "a", "b"},
        {"--bake", "Cancan@1", "a", "b"},
        {"--bake", "Cancan@20", "--frames", "10", "a", "b"},
        {"--bake", "--frames", "10", "a", "b"},
        {"--bake", "Cancan@1", "--frames", "100001", "a", "b"},
        {"--loud", "a", "b"},
        {"--gltf", "a", "b.bin"},
    };
    for (const std::vector<std::string>& arguments : wrong) {
        const RunResult result = runExport(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.err.rfind("vorel-export: ", 0), 0u) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(ExportTool, WritesTheBoxAsOneSkinnedMeshWithItsAnimationAndSaysWhatItWrote) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    const std::string output = set.path("box.glb");
    const RunResult result = runExport({set.path("vorel.txt"), output});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(splitLines(result.out).size(), 1u) << result.out;
    EXPECT_EQ(result.out.rfind(
                  output + ": model 'box': 24 vertices, 12 triangles, 2 joints; 1 animation,", 0),
              0u)
        << result.out;
    tinygltf::Model gltf;
    ASSERT_TRUE(loadsWithTinygltf(output, gltf));
    ASSERT_EQ(gltf.animations.size(), 1u);
    EXPECT_EQ(gltf.animations[0].name, "Cancan");
    EXPECT_EQ(gltf.skins[0].joints.size(), 2u);
}

TEST(ExportTool, GltfOptionWritesTextBesideItsBufferAndSpeedStretchesTheKeys) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    const RunResult result =
        runExport({"--gltf", "--speed", "2", set.path("vorel.txt"), set.path("box.gltf")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(set.path("box.bin")));
    tinygltf::Model gltf;
    ASSERT_TRUE(loadsWithTinygltf(set.path("box.gltf"), gltf));
    EXPECT_EQ(gltf.buffers[0].uri, "box.bin");
    // The slide lasts 0.5 clock units: its last frame is at local time 0.5 or just under.
    const tinygltf::Accessor& times =
        gltf.accessors[static_cast<std::size_t>(gltf.animations[0].samplers[0].input)];
    EXPECT_NEAR(times.maxValues[0], 1.0, 0.011);
}

TEST(ExportTool, BakedSessionIsOneAnimationWithAKeyPerFrameForEveryBone) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    const RunResult result = runExport({"--bake", "Cancan@3", "Cancan@5", "--frames", "120",
                                        set.path("vorel.txt"), set.path("session.glb")});
    ASSERT_EQ(result.status, 0) << result.err;
    tinygltf::Model gltf;
    ASSERT_TRUE(loadsWithTinygltf(set.path("session.glb"), gltf));
    ASSERT_EQ(gltf.animations.size(), 1u);
    EXPECT_EQ(gltf.animations[0].name, "session");
    for (const tinygltf::AnimationSampler& sampler : gltf.animations[0].samplers) {
        const tinygltf::Accessor& times = gltf.accessors[static_cast<std::size_t>(sampler.input)];
        EXPECT_EQ(times.count, 120u);
        EXPECT_FLOAT_EQ(static_cast<float>(times.maxValues[0]), 1.19f);
    }
    const RunResult unknown =
        runExport({"--bake", "Polka@1", "--frames", "5", set.path("vorel.txt"), set.path("x.glb")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, set.path("vorel.txt") + ": no animation named 'Polka'\n");
    EXPECT_FALSE(fs::exists(set.path("x.glb")));
}

TEST(ExportTool, AManifestTheViewerRefusesFailsWithTheViewersLine) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    set.writeFile("missing-model.txt", "1\n1\nbox\nnot-there.ply\nCancan\nslide.anim\n");
    set.writeFile("no-model.txt", "0\n1\nCancan\nslide.anim\n");
    set.writeFile("short.txt", "1\n");
    for (const std::string manifest :
         {"missing-model.txt", "no-model.txt", "short.txt", "absent.txt"}) {
        std::string expected;
        EXPECT_EQ(loadLibraryBesideManifest(set.path(manifest), expected), nullptr);
        const RunResult result = runExport({set.path(manifest), set.path("out.glb")});
        EXPECT_EQ(result.status, 1) << manifest;
        EXPECT_EQ(result.err, expected + "\n");
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_FALSE(fs::exists(set.path("out.glb")));
}

TEST(ExportTool, AnOutputThatCannotBeWrittenFailsAndLeavesNothingBehind) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    const std::vector<std::string> before = folderListing(set.folder().string());
    const RunResult noFolder =
        runExport({set.path("vorel.txt"), set.path("no/such/folder/out.glb")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_EQ(noFolder.err, set.path("no/such/folder/out.glb") +
                                ": cannot be written: No such file or directory\n");
    // A folder in the way of the output: neither it nor anything beside it changes.
    fs::create_directory(set.path("taken.gltf"));
    const RunResult taken = runExport({set.path("vorel.txt"), set.path("taken.gltf")});
    EXPECT_EQ(taken.status, 1);
    EXPECT_EQ(taken.err, set.path("taken.gltf") + ": cannot be written: Is a directory\n");
    EXPECT_TRUE(fs::is_directory(set.path("taken.gltf")));
    EXPECT_TRUE(fs::is_empty(set.path("taken.gltf")));
    // The .bin goes first; once the .gltf has failed it is taken away again.
    std::vector<std::string> expected = before;
    expected.push_back("taken.gltf");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderListing(set.folder().string()), expected);
}

TEST(ExportTool, NoFileTheSetReadsIsEverWrittenOver) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    std::map<std::string, std::string> before;
    for (const std::string& name : folderListing(set.folder().string()))
        before[name] = test_support::readText(set.path(name));
    fs::create_hard_link(set.path("slide.anim"), set.path("linked.glb"));
    const std::string manifest = set.path("vorel.txt");
    const std::string sideways =
        set.folder().string() + "/../" + set.folder().filename().string() + "/";
    std::vector<std::vector<std::string>> runs;
    for (const auto& file : before) {
        runs.push_back({manifest, set.path(file.first)});
        runs.push_back({"--gltf", manifest, sideways + file.first});
    }
    runs.push_back({manifest, set.path("linked.glb")});
    for (const std::vector<std::string>& run : runs) {
        const RunResult result = runExport(run);
        EXPECT_EQ(result.status, 1) << testing::PrintToString(run);
        EXPECT_EQ(result.err,
                  run.back() + ": is a file of the set being exported; not written over\n");
    }
    // The .bin of a .gltf is an output too.
    fs::create_hard_link(set.path("box.ply"), set.path("mesh.bin"));
    const RunResult buffer = runExport({manifest, set.path("mesh.gltf")});
    EXPECT_EQ(buffer.status, 1);
    EXPECT_EQ(buffer.err, set.path("mesh.gltf") + ": its buffer " + set.path("mesh.bin") +
                              " is a file of the set being exported; not written over\n");
    EXPECT_FALSE(fs::exists(set.path("mesh.gltf")));
    for (const auto& file : before)
        EXPECT_EQ(test_support::readText(set.path(file.first)), file.second);
}

TEST(ExportTool, TheExtensionChoosesTheContainerAndAContradictingOptionIsAUsageError) {
    BoxSetFolder set;
    ASSERT_TRUE(set.made());
    ASSERT_EQ(runExport({set.path("vorel.txt"), set.path("text.gltf")}).status, 0);
    EXPECT_EQ(test_support::readText(set.path("text.gltf")).front(), '{');
    EXPECT_TRUE(fs::exists(set.path("text.bin")));
    ASSERT_EQ(runExport({set.path("vorel.txt"), set.path("binary.GLB")}).status, 0);
    EXPECT_EQ(test_support::readText(set.path("binary.GLB")).substr(0, 4), "glTF");
    const RunResult contradicting = runExport({"--gltf", set.path("vorel.txt"), set.path("x.glb")});
    EXPECT_EQ(contradicting.status, 2);
    EXPECT_EQ(
        contradicting.err.rfind(
            "vorel-export: --gltf writes JSON, but " + set.path("x.glb") + " ends in .glb", 0),
        0u)
        << contradicting.err;
    EXPECT_FALSE(fs::exists(set.path("x.glb")));
}

TEST(ExportTool, AnAnimationNamingNoBoneIsWrittenWithAWarningAndNoBoneChannel) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = writeOneFaceSet(folder, {turnTrack("elsewhere")});
    const RunResult result = runExport({manifest, folder + "/face.glb"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = splitLines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_EQ(lines[1], manifest +
                            ": warning: animation 'Turn' names no bone of the model: written with "
                            "no bone channels");
    tinygltf::Model gltf;
    ASSERT_TRUE(loadsWithTinygltf(folder + "/face.glb", gltf));
    ASSERT_EQ(gltf.animations.size(), 1u);
    for (const tinygltf::AnimationChannel& channel : gltf.animations[0].channels) {
        EXPECT_EQ(channel.target_node, gltf.skins[0].skeleton);
    }
}

TEST(ExportTool, AModelOfOneBoneAndOneFaceExportsAndValidates) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = writeOneFaceSet(folder, {turnTrack("only")});
    const RunResult result = runExport({manifest, folder + "/face.glb"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(
        result.out.rfind(
            folder + "/face.glb: model 'Face': 4 vertices, 2 triangles, 2 joints; 1 animation,", 0),
        0u)
        << result.out;
    const RunResult validated = test_support::runProgram(
        "/usr/bin/env", {"node", VOREL_VALIDATE_SCRIPT, folder + "/face.glb"});
    EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
    EXPECT_NE(validated.out.find("errors 0  warnings 0"), std::string::npos) << validated.out;
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

TEST(ExportTool, NamesThatAreNotUtf8AreWrittenEscapedAndImportBackByteForByte) {
    const std::string folder = makeScratchFolder();
    // Latin-1 letters, a backslash, a lone continuation byte and a truncated sequence.
    FaceSetNames names;
    names.model =
        "F\xe2"
        "ce";
    names.bone = "h\xe9p\\x\x80";
    names.animation = "Tour \xe9t\xe9 \xe2\x82";
    const std::string manifest = writeOneFaceSet(folder, {turnTrack(names.bone)}, names);
    const RunResult text = runExport({manifest, folder + "/face.gltf"});
    ASSERT_EQ(text.status, 0) << text.err;
    const std::string json = test_support::readText(folder + "/face.gltf");
    EXPECT_TRUE(isValidUtf8(json));
    const nlohmann::json document = nlohmann::json::parse(json);
    EXPECT_EQ(document["animations"][0]["name"], "Tour \\xe9t\\xe9 \\xe2\\x82");
    EXPECT_EQ(document["meshes"][0]["name"], "F\\xe2ce");
    bool escapedBone = false;
    for (const nlohmann::json& node : document["nodes"])
        escapedBone = escapedBone || node.value("name", "") == "h\\xe9p\\\\x\\x80";
    EXPECT_TRUE(escapedBone) << document["nodes"].dump();

    const RunResult binary = runExport({manifest, folder + "/face.glb"});
    ASSERT_EQ(binary.status, 0) << binary.err;
    const RunResult validated = test_support::runProgram(
        "/usr/bin/env", {"node", VOREL_VALIDATE_SCRIPT, folder + "/face.glb"});
    EXPECT_NE(validated.out.find("errors 0  warnings 0"), std::string::npos) << validated.out;
    for (const char* exported : {"/face.glb", "/face.gltf"}) {
        const std::string set = folder + "/set" + std::string(exported).substr(5);
        const RunResult imported =
            test_support::runProgram(VOREL_IMPORT_BINARY, {folder + exported, set});
        ASSERT_EQ(imported.status, 0) << imported.err;
        std::string problem;
        const auto library = loadLibraryBesideManifest(set + "/vorel.txt", problem);
        ASSERT_NE(library, nullptr) << problem;
        EXPECT_NE(library->findAnimation(names.animation), nullptr) << exported;
        std::vector<std::string> boneNames;
        PendingBones<BoneData> pending;
        walkBones(library->models[0]->rootBone.get(), pending,
                  [&boneNames](BoneData& bone) { boneNames.push_back(bone.name); });
        EXPECT_NE(std::find(boneNames.begin(), boneNames.end(), names.bone), boneNames.end())
            << exported;
    }
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

TEST(ExportTool, AnImportedSetExportsEachAnimationFileOnceUnderItsOwnName) {
    const std::string folder = makeScratchFolder();
    const RunResult imported =
        test_support::runProgram(VOREL_IMPORT_BINARY, {VOREL_ROBOT_GLB, folder + "/robot"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const RunResult run = runExport({folder + "/robot/vorel.txt", folder + "/robot.glb"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("; 14 animations, "), std::string::npos) << run.out;
    tinygltf::Model gltf;
    ASSERT_TRUE(loadsWithTinygltf(folder + "/robot.glb", gltf));
    std::vector<std::string> names;
    for (const tinygltf::Animation& animation : gltf.animations) names.push_back(animation.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Dance", "Death", "Idle", "Jump", "No", "Punch",
                                               "Running", "Sitting", "Standing", "ThumbsUp",
                                               "Walking", "WalkJump", "Wave", "Yes"}));
}

}  // namespace
}  // namespace vorel
