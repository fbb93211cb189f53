// vorel-inspect pose: a one-bone figure and a dance that turns the bone about Z, played
// through the viewer's frames; the printed matrix and mesh digest match the known turn.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"

namespace vorel {
namespace {

// "Turn": rz goes linearly from 0 to 1 and rw from 1 to 0 over [0, 1], so the normalised
// rotation at local time 0.5 is a quarter turn about +Z. Lasts 1 time unit (100 frames).
std::string writeTurnSet(const std::string& folder) {
    writeModel(folder, "arm.ply", *makeOneBoneModel());
    TrackData turn = makeRestTrack("arm");
    turn.channels[8] = {makeKey(0.0f, 0.0f, SegmentMode::Linear),
                        makeKey(1.0f, 1.0f, SegmentMode::Linear)};
    turn.channels[9] = {makeKey(0.0f, 1.0f, SegmentMode::Linear),
                        makeKey(1.0f, 0.0f, SegmentMode::Linear)};
    std::vector<TrackData> tracks;
    tracks.push_back(std::move(turn));
    writeAnimation(folder, "turn.anim", *makeAnimation(1.0f, std::move(tracks)));
    return writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}}, {{"Turn", "turn.anim"}});
}

// The numbers on the first line that starts with prefix, after the prefix.
std::vector<double> numbersAfter(const std::string& text, const std::string& prefix) {
    for (const std::string& line : splitLines(text)) {
        if (line.rfind(prefix, 0) != 0) continue;
        std::istringstream rest(line.substr(prefix.size()));
        std::vector<double> numbers;
        for (std::string word; rest >> word;) {
            char* end = nullptr;
            const double value = std::strtod(word.c_str(), &end);
            if (*end == '\0') numbers.push_back(value);
        }
        return numbers;
    }
    ADD_FAILURE() << "no line starts with '" << prefix << "' in:\n" << text;
    return {};
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5) << "number " << i;
    }
}

// The four matrix rows printed under "bone arm", as 16 numbers.
std::vector<double> armMatrix(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    std::vector<double> numbers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "bone arm") continue;
        for (std::size_t row = 1; row <= 4 && i + row < lines.size(); ++row) {
            std::istringstream words(lines[i + row]);
            for (double value; words >> value;) numbers.push_back(value);
        }
    }
    return numbers;
}

TEST(InspectPose, NoFramesGiveTheBindPose) {
    const RunResult run = runInspect({"pose", writeTurnSet(makeScratchFolder()), "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("playing 0\n"), std::string::npos) << run.out;
    EXPECT_EQ(armMatrix(run.out),
              std::vector<double>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_NE(run.out.find("positions: count 4  min 1 0 0  max 2 0 1  sum 6 0 2\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("normals: count 1  min 0 -1 0  max 0 -1 0  sum 0 -1 0\n"),
              std::string::npos)
        << run.out;
}

// Started before frame 1, the dance is sampled at local time 0.5 in frame 51: a quarter turn
// about +Z takes (x, 0, z) to (0, x, z) and the normal (0, -1, 0) to (1, 0, 0).
TEST(InspectPose, QuarterTurnAfterFiftyOneFrames) {
    const RunResult run = runInspect({"pose", writeTurnSet(makeScratchFolder()), "51", "Turn@1"});
    ASSERT_EQ(run.status, 0) << run.err;
    expectNear(armMatrix(run.out), {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    expectNear(numbersAfter(run.out, "positions: "), {4, 0, 1, 0, 0, 2, 1, 0, 6, 2});
    expectNear(numbersAfter(run.out, "normals: "), {1, 1, 0, 0, 1, 0, 0, 1, 0, 0});
    const std::vector<double> record = numbersAfter(run.out, "  'Turn'");
    ASSERT_EQ(record.size(), 3u);
    EXPECT_EQ(record[1], 0.0);
    EXPECT_NEAR(record[2], 0.51, 1e-5);
}

// A dance started before frame 11 reaches the same pose ten frames later; the clock has run
// 60 frames, and the record carries the start time 0.1 it was stamped with.
TEST(InspectPose, LaterStartGivesTheSamePoseLater) {
    const RunResult run = runInspect({"pose", writeTurnSet(makeScratchFolder()), "61", "Turn@11"});
    ASSERT_EQ(run.status, 0) << run.err;
    expectNear(armMatrix(run.out), {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    expectNear(numbersAfter(run.out, "frames "), {61, 0.01, 0.61});
    const std::vector<double> record = numbersAfter(run.out, "  'Turn'");
    ASSERT_EQ(record.size(), 3u);
    EXPECT_NEAR(record[1], 0.1, 1e-6);
    EXPECT_NEAR(record[2], 0.51, 1e-5);
}

TEST(InspectPose, ExpiredDanceLeavesTheRestPoseAndUnknownDanceFails) {
    const std::string manifest = writeTurnSet(makeScratchFolder());
    const RunResult expired = runInspect({"pose", manifest, "103", "Turn@1"});
    ASSERT_EQ(expired.status, 0) << expired.err;
    EXPECT_NE(expired.out.find("playing 0\n"), std::string::npos) << expired.out;
    expectNear(armMatrix(expired.out), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});

    const RunResult unknown = runInspect({"pose", manifest, "5", "Cancan@1"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, manifest + ": no animation named 'Cancan'\n");
}

// The OBJ holds the same quarter-turned mesh as the digest: the positions in the model's order,
// the turned normal, and the face as a quad over them.
TEST(InspectPose, ObjHoldsTheLastFramesPosedMeshInTheModelsOrder) {
    const std::string folder = makeScratchFolder();
    const std::string obj = folder + "/posed.obj";
    const RunResult run = runInspect({"pose", "--obj", obj, writeTurnSet(folder), "51", "Turn@1"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::vector<double>> vertices, normals;
    std::vector<std::string> faces;
    for (const std::string& line : splitLines(readText(obj))) {
        if (line.rfind("v ", 0) == 0) vertices.push_back(numbersAfter(line, "v "));
        if (line.rfind("vn ", 0) == 0) normals.push_back(numbersAfter(line, "vn "));
        if (line.rfind("f ", 0) == 0) faces.push_back(line);
    }
    ASSERT_EQ(vertices.size(), 4u);
    expectNear(vertices[0], {0, 1, 0});
    expectNear(vertices[1], {0, 2, 0});
    expectNear(vertices[2], {0, 2, 1});
    expectNear(vertices[3], {0, 1, 1});
    ASSERT_EQ(normals.size(), 1u);
    expectNear(normals[0], {1, 0, 0});
    EXPECT_EQ(faces, std::vector<std::string>({"f 1//1 2//1 3//1 4//1"}));
}

TEST(InspectPose, ObjNeedsAWritablePathAndAValue) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = writeTurnSet(folder);
    const RunResult unwritable =
        runInspect({"pose", manifest, "1", "--obj", folder + "/no/such.obj"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, folder + "/no/such.obj: cannot be written\n");
    const RunResult missing = runInspect({"pose", manifest, "1", "--obj"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("option '--obj' needs a value"), std::string::npos) << missing.err;
}

// Each listed frame's mesh is the one a run of just that many frames writes, so one run can
// stand for many; frames past the last are never reached.
TEST(InspectPose, ObjFramesWritesEachListedFrameAsARunEndingThereWould) {
    const std::string folder = makeScratchFolder();
    const std::string manifest = writeTurnSet(folder);
    const RunResult run = runInspect({"pose", "--obj", folder + "/all.obj", "--obj-frames",
                                      "1,26,51,90", manifest, "60", "Turn@1"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const int frame : {1, 26, 51}) {
        const std::string alone = folder + "/alone-" + std::to_string(frame) + ".obj";
        ASSERT_EQ(
            runInspect({"pose", "--obj", alone, manifest, std::to_string(frame), "Turn@1"}).status,
            0);
        EXPECT_EQ(readText(folder + "/all-" + std::to_string(frame) + ".obj"), readText(alone))
            << frame;
    }
    EXPECT_NE(readText(folder + "/all-1.obj"), readText(folder + "/all-26.obj"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/all-90.obj"));
    EXPECT_FALSE(readText(folder + "/all.obj").empty());

    const RunResult withoutObj = runInspect({"pose", "--obj-frames", "1", manifest, "5"});
    EXPECT_EQ(withoutObj.status, 2);
    EXPECT_NE(withoutObj.err.find("--obj-frames needs --obj FILE"), std::string::npos)
        << withoutObj.err;
    const RunResult badList =
        runInspect({"pose", "--obj", folder + "/x.obj", "--obj-frames", "3-1", manifest, "5"});
    EXPECT_EQ(badList.status, 2);
}

}  // namespace
}  // namespace vorel
