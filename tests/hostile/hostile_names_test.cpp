// Names read from files reach a terminal only through the one quoting rule: every tool's
// summary, warning and error about a model, bone, animation, joint, node or file whose name
// holds ESC, CR, BEL or bytes that are not UTF-8 shows those bytes as \xnn, never raw.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/printable_name.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "tests/support/program_runner.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;
using test_support::runProgram;
using test_support::RunResult;

// Retitles the window, clears the screen, returns to the line's start, rings the bell, and
// ends in bytes that are not UTF-8.
const std::string Hostile = "\x1b]0;owned\x07\x1b[2J\rX\xc3(\xff";
// A BVH joint name: the reader refuses control characters in one, not bytes that are not UTF-8.
const std::string HostileWord = "X\xc3(\xff";

// Every line of both streams reads as the rule shows it: no control byte but the line ends,
// nothing that is not UTF-8.
void expectOnlyPrintable(const RunResult& result, const std::string& what) {
    for (const std::string* stream : {&result.out, &result.err}) {
        for (const std::string& line : test_support::splitLines(*stream)) {
            EXPECT_EQ(printableName(line), line) << what << ": a raw byte reached the terminal";
        }
    }
}

// The run printed a hostile name, escaped (so the check above was not passed by silence).
void expectShownEscaped(const RunResult& result, const std::string& what) {
    EXPECT_NE((result.out + result.err).find("\\xc3(\\xff"), std::string::npos)
        << what << ": no escaped name in\n"
        << result.out << result.err;
}

void expectQuoted(const RunResult& result, const std::string& what) {
    expectOnlyPrintable(result, what);
    expectShownEscaped(result, what);
}

class HostileNames : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = test_support::makeScratchFolder();
        auto model = test_support::makeModel({{0, 100, 0}, {10, 100, 0}, {10, 110, 0}, {0, 110, 0}},
                                             {{0, 0, 1}},
                                             {test_support::makeFace({0, 1, 2, 3}, {0, 0, 0, 0})},
                                             test_support::makeAxisBone(Hostile, {0, 1, 2, 3}));
        model->header = std::make_unique<ModelHeader>(standardModelHeader());
        ASSERT_TRUE(saveModel(*model, folder_ + "/figure.ply"));
        const Quaternion turn = test_support::rotationAbout(Vector3(0, 1, 0), 30.0f);
        const auto animation = test_support::makeAnimation(
            0.5f, {test_support::makePoseTrack(Hostile, Vector3(1, 0, 0), Vector3(1, 1, 1), turn),
                   test_support::makePoseTrack("no " + Hostile, Vector3(0, 0, 0), Vector3(1, 1, 1),
                                               turn)});
        ASSERT_TRUE(saveAnimation(*animation, folder_ + "/dance.anim"));
        ASSERT_TRUE(saveManifest(manifest(), {{"Model " + Hostile, "figure.ply"}},
                                 {{"Cancan", "dance.anim"}, {Hostile, "dance.anim"}}));
    }

    std::string manifest() const { return folder_ + "/vorel.txt"; }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

    // A capture whose joints and file carry the hostile bytes.
    std::string writeCapture() const {
        const std::string capture = path("capture " + Hostile + ".bvh");
        test_support::writeBytes(
            capture, "HIERARCHY\nROOT Hips" + HostileWord +
                         "\n{\nOFFSET 0 10 0\nCHANNELS 6 Xposition Yposition Zposition "
                         "Zrotation Xrotation Yrotation\nJOINT Leg" +
                         HostileWord +
                         "\n{\nOFFSET 1 -5 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
                         "End Site\n{\nOFFSET 0 -5 0\n}\n}\n}\nMOTION\nFrames: 3\n"
                         "Frame Time: 0.0333333\n0 10 0 0 0 0 0 0 0\n0 10 0 0 0 5 10 0 0\n"
                         "0 10 1 0 0 10 20 0 0\n");
        return capture;
    }

    std::string folder_;
};

TEST_F(HostileNames, VorelInspectQuotesEveryNameItPrints) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {manifest()},
             {path("figure.ply")},
             {path("dance.anim")},
             {"check", "--strict", manifest()},
             {"pose", manifest(), "3", "Cancan@1"},
             {"sample", path("dance.anim"), "missing " + Hostile, "0"},
             {writeCapture()}}) {
        const RunResult result = runProgram(VOREL_INSPECT_BINARY, arguments);
        expectQuoted(result, "vorel-inspect " + arguments.front());
    }
}

TEST_F(HostileNames, LoadersQuoteTheNamesInTheirOneLine) {
    const std::string missing = path("gone " + Hostile + ".ply");
    ASSERT_TRUE(saveManifest(path("broken.txt"), {{"m", missing}}, {}));
    const RunResult inspect = runProgram(VOREL_INSPECT_BINARY, {"check", path("broken.txt")});
    EXPECT_EQ(inspect.status, 1);
    expectQuoted(inspect, "vorel-inspect check of a manifest naming a missing file");
    const RunResult render = runProgram(VOREL_RENDER_BINARY, {path("broken.txt")});
    EXPECT_EQ(render.status, 1);
    expectQuoted(render, "vorel-render of a manifest naming a missing file");
}

TEST_F(HostileNames, ExportImportAndRetargetQuoteNamesFromModelsGltfAndCaptures) {
    const RunResult exported = runProgram(VOREL_EXPORT_BINARY, {manifest(), path("figure.glb")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    expectQuoted(exported, "vorel-export");

    // glTF node and animation names: vorel-export kept the bytes that are not UTF-8 in extras,
    // so the importer reads back the very names.
    const RunResult imported =
        runProgram(VOREL_IMPORT_BINARY, {path("figure.glb"), path("imported")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    expectQuoted(imported, "vorel-import of glTF");

    const std::string capture = writeCapture();
    const RunResult importedCapture = runProgram(VOREL_IMPORT_BINARY, {capture, path("capture")});
    ASSERT_EQ(importedCapture.status, 0) << importedCapture.err;
    expectQuoted(importedCapture, "vorel-import of a capture");

    const RunResult retargeted = runProgram(
        VOREL_RETARGET_BINARY,
        {"--as", "Cancan", "--animation", Hostile, path("figure.glb"), path("retargeted")});
    expectQuoted(retargeted, "vorel-retarget of glTF");

    test_support::writeBytes(
        path("map.txt"), "Hips" + HostileWord + " pelvis\nmissing" + HostileWord + " thigh_l\n");
    const RunResult badMap =
        runProgram(VOREL_RETARGET_BINARY,
                   {"--as", "Cancan", "--map", path("map.txt"), capture, path("mapped")});
    EXPECT_EQ(badMap.status, 1);
    expectQuoted(badMap, "vorel-retarget with a map naming a missing joint");

    const RunResult builtInMap =
        runProgram(VOREL_RETARGET_BINARY, {"--as", "Cancan", capture, path("built-in")});
    expectQuoted(builtInMap, "vorel-retarget of a capture the built-in maps do not fit");
}

}  // namespace
}  // namespace vorel
