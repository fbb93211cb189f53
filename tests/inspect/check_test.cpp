// vorel-inspect check: the exact line and exit status for broken files, and one warning for
// each legal but suspicious case, which --strict turns into a failure.
#include <gtest/gtest.h>

#include "assets/load_model.h"
#include "assets/save_model.h"
#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"

namespace vorel {
namespace {

std::unique_ptr<AnimationData> makeStillAnimation(const std::string& trackName) {
    std::vector<TrackData> tracks;
    tracks.push_back(makeRestTrack(trackName));
    return makeAnimation(1.0f, std::move(tracks));
}

// A manifest with the one-bone model and the seven dances, each a still track on "arm".
std::vector<ManifestEntry> writeSevenDances(const std::string& folder) {
    std::vector<ManifestEntry> dances;
    const char* const names[] = {"Cancan",  "Joyous Walk", "Strut", "HighKick",
                                 "MidKick", "LowKick",     "Salute"};
    const std::unique_ptr<AnimationData> still = makeStillAnimation("arm");
    for (const char* name : names) {
        const std::string file = std::string(name) + ".anim";
        writeAnimation(folder, file, *still);
        dances.push_back({name, file});
    }
    return dances;
}

std::vector<std::string> warningsOf(const RunResult& run) {
    std::vector<std::string> warnings;
    for (const std::string& line : splitLines(run.out)) {
        if (line.find(": warning: ") != std::string::npos) warnings.push_back(line);
    }
    return warnings;
}

TEST(InspectCheck, GoodFilesAreOkAndExitZero) {
    const std::string folder = makeScratchFolder();
    writeModel(folder, "arm.ply", *makeOneBoneModel());
    const std::string manifest =
        writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}}, writeSevenDances(folder));
    const RunResult run =
        runInspect({"check", manifest, folder + "/arm.ply", folder + "/Strut.anim"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              manifest + ": ok\n" + folder + "/arm.ply: ok\n" + folder + "/Strut.anim: ok\n");
    EXPECT_EQ(run.err, "");
}

TEST(InspectCheck, BrokenFilesGiveTheLoadersLineAndExitOne) {
    const std::string folder = makeScratchFolder();
    const std::string good = writeModel(folder, "good.ply", *makeOneBoneModel());
    const std::string bytes = encodeModel(*makeOneBoneModel());
    // Header (7 bytes) and half of the material count.
    const std::string truncated = folder + "/truncated.ply";
    writeBytes(truncated, bytes.substr(0, 9));
    // The version field, at offset 3, says 4.
    std::string corruptBytes = bytes;
    corruptBytes[3] = 4;
    const std::string corrupt = folder + "/corrupt.ply";
    writeBytes(corrupt, corruptBytes);
    const std::string unknown = folder + "/unknown.bin";
    writeBytes(unknown, std::string("\x01\x02\x03\x04", 4));

    const RunResult run = runInspect({"check", truncated, good, corrupt, unknown});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0], truncated +
                            ": offset 7: materials: file ends inside a 32-bit field (needs 4 "
                            "bytes, 2 left)");
    EXPECT_EQ(lines[1], good + ": ok");
    EXPECT_EQ(lines[2], corrupt + ": offset 3: header: version is 4, expected 2 or 3");
    EXPECT_EQ(lines[3], unknown +
                            ": offset 0: header: not a model (\"PLY\"), an animation (79 56 34 "
                            "12), a manifest (a count), a BVH capture (HIERARCHY) or an FBX file "
                            "(Kaydara FBX Binary, FBXHeaderExtension)");
    // The tool prints the loaders' own diagnostic, word for word.
    LoadError error;
    EXPECT_EQ(loadModelFromBytes(bytes.substr(0, 9), truncated, &error), nullptr);
    EXPECT_EQ(lines[0], error.describe());
}

TEST(InspectCheck, BvhCapturesAreReadAndTheirFaultsNamedByLine) {
    const std::string folder = makeScratchFolder();
    const std::string capture =
        "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 2 Yposition Zrotation\n"
        " End Site\n {\n  OFFSET 0 1 0\n }\n}\nMOTION\nFrames: 2\nFrame Time: 0.04\n0 0\n1 90\n";
    const std::string good = folder + "/good.bvh";
    writeBytes(good, capture);
    const std::string shortLine = folder + "/short.bvh";
    writeBytes(shortLine, capture.substr(0, capture.size() - 4));
    // A motion section with no frame: the hierarchy reads, but no tool can play it.
    const std::string noFrames = folder + "/no-frames.bvh";
    writeBytes(noFrames,
               capture.substr(0, capture.find("Frames:")) + "Frames: 0\nFrame Time: 0.04\n");
    const RunResult run = runInspect({"check", good, shortLine, noFrames});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0], good + ": ok");
    EXPECT_EQ(lines[1], shortLine + ": line 15: a motion line has 1 values, the channels need 2");
    EXPECT_EQ(lines[2], noFrames + ": the capture has no frames");
    const RunResult summary = runInspect({noFrames});
    EXPECT_EQ(summary.status, 1);
    EXPECT_NE(summary.err.find(noFrames + ": the capture has no frames"), std::string::npos)
        << summary.err;
}

TEST(InspectCheck, ManifestFailuresNameEachFailingFile) {
    const std::string folder = makeScratchFolder();
    writeModel(folder, "arm.ply", *makeOneBoneModel());
    std::vector<ManifestEntry> dances = writeSevenDances(folder);
    dances[2].path = "missing.anim";
    writeBytes(folder + "/short.anim", std::string("\x79\x56\x34\x12\0\0", 6));
    dances[3].path = "short.anim";
    const std::string manifest = writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}}, dances);
    const RunResult run = runInspect({"check", manifest});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_GE(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[0].rfind(folder + "/missing.anim: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind(folder + "/short.anim: offset 4: ", 0), 0u) << lines[1];

    const std::string empty = writeManifest(folder, "empty.txt", {}, {});
    const RunResult noModel = runInspect({"check", empty});
    EXPECT_EQ(noModel.status, 1);
    EXPECT_EQ(splitLines(noModel.out).at(0), empty + ": names no model");
}

TEST(InspectCheck, ModelWarnings) {
    const std::string folder = makeScratchFolder();
    std::unique_ptr<ModelData> model = makeOneBoneModel();
    // Vertex 3 is under no bone, vertex 0 under "arm" and "hand"; "hand" has no length.
    model->rootBone->vertices = {0, 1, 2};
    model->rootBone->firstChild =
        makeBone("hand", Vector3(0.0f, 0.0f, 1.0f), Vector3(0.0f, 0.0f, 1.0f), {0});
    model->normals[0] = Vector3(0.0f, -2.0f, 0.0f);
    const std::string path = writeModel(folder, "odd.ply", *model);

    const RunResult run = runInspect({"check", path});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(warningsOf(run),
              std::vector<std::string>(
                  {path + ": warning: 1 vertex is under no bone (they never move) (first: 3)",
                   path + ": warning: 1 vertex is under two or more bones (the last one wins) "
                          "(first: 0)",
                   path + ": warning: 1 normal is far from unit length (first: 0, length 2)",
                   path + ": warning: bone 'hand': head and tail coincide, so it has no "
                          "direction"}));
    EXPECT_EQ(runInspect({"check", "--strict", path}).status, 1);
}

TEST(InspectCheck, AnimationWarnings) {
    const std::string folder = makeScratchFolder();
    std::unique_ptr<AnimationData> animation = makeStillAnimation("arm");
    animation->tracks[0].channels[0] = {makeKey(1.0f, 0.0f, SegmentMode::Linear),
                                        makeKey(0.5f, 1.0f, SegmentMode::Linear)};
    animation->tracks[0].channels[4].clear();
    animation->tracks[0].channels[5].clear();
    const std::string path = writeAnimation(folder, "odd.anim", *animation);

    const RunResult run = runInspect({"check", path});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(warningsOf(run), std::vector<std::string>(
                                   {path + ": warning: track 'arm': keys out of time order in tx",
                                    path + ": warning: track 'arm': no keys in sy, sz"}));
    EXPECT_EQ(runInspect({"check", "--strict", path}).status, 1);
}

TEST(InspectCheck, ManifestWarnings) {
    const std::string folder = makeScratchFolder();
    writeModel(folder, "arm.ply", *makeOneBoneModel());
    writeAnimation(folder, "tail.anim", *makeStillAnimation("tail"));
    std::vector<ManifestEntry> dances = writeSevenDances(folder);
    dances[6] = {"Cancan", "tail.anim"};
    const std::string manifest =
        writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}, {"Arm", "arm.ply"}}, dances);

    const RunResult run = runInspect({"check", manifest});
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string prefix = manifest + ": warning: ";
    EXPECT_EQ(warningsOf(run),
              std::vector<std::string>(
                  {prefix + "model name 'Arm' is repeated (entries 1 and 2); only the first is "
                            "ever used",
                   prefix + "animation name 'Cancan' is repeated (entries 1 and 7); only the "
                            "first is ever used",
                   prefix + "no animation is named 'Salute', so key 7 does nothing",
                   prefix + "animation 'Cancan': track 'tail' names no bone of model 'Arm'"}));
    EXPECT_EQ(runInspect({"check", "--strict", manifest}).status, 1);
}

}  // namespace
}  // namespace vorel
