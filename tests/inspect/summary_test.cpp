// vorel-inspect FILE...: the summary of a known small model, animation and manifest, each
// recognised by its content whatever its file name.
#include <gtest/gtest.h>

#include "math/hash_name.h"
#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// hips (root) with children spine and leg; spine has the child head. Vertex 0 under hips,
// 1 and 2 under spine, 3 under head.
std::unique_ptr<ModelData> makeSmallSkeletonModel() {
    std::unique_ptr<ModelData> model = makeOneBoneModel();
    model->rootBone = makeBone("hips", Vector3(0.0f, 1.0f, 0.0f), Vector3(0.0f, 1.0f, 1.0f), {0});
    BoneData& hips = *model->rootBone;
    hips.firstChild =
        makeBone("spine", Vector3(0.0f, 1.0f, 0.0f), Vector3(0.0f, 2.0f, 0.0f), {1, 2});
    hips.firstChild->firstChild =
        makeBone("head", Vector3(0.0f, 2.0f, 0.0f), Vector3(0.0f, 2.5f, 0.0f), {3});
    hips.firstChild->nextSibling =
        makeBone("leg", Vector3(0.5f, 1.0f, 0.0f), Vector3(0.5f, 0.0f, 0.0f), {});
    Face layered = model->faces[0];
    layered.layers.resize(2);
    model->faces.push_back(layered);
    return model;
}

std::string hashOf(const char* name) {
    return std::to_string(hashName(name));
}

TEST(InspectSummary, ModelCountsBoneTreeAndBindBox) {
    // The name says animation; the content says model.
    const std::string path =
        writeModel(makeScratchFolder(), "figure.anim", *makeSmallSkeletonModel());
    const RunResult run = runInspect({path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path +
                           ": model, version 2\n"
                           "  materials 1  named records 0  positions 4  normals 1  faces 2  "
                           "layers 2\n"
                           "  bind positions: min (1, 0, 0)  max (2, 0, 1)\n"
                           "  bones 4:\n"
                           "    hips  hash " +
                           hashOf("hips") +
                           "  head (0, 1, 0)  tail (0, 1, 1)  vertices 1\n"
                           "      spine  hash " +
                           hashOf("spine") +
                           "  head (0, 1, 0)  tail (0, 2, 0)  vertices 2\n"
                           "        head  hash " +
                           hashOf("head") +
                           "  head (0, 2, 0)  tail (0, 2.5, 0)  vertices 1\n"
                           "      leg  hash " +
                           hashOf("leg") + "  head (0.5, 1, 0)  tail (0.5, 0, 0)  vertices 0\n");
}

TEST(InspectSummary, AnimationTracksChannelsAndSegments) {
    TrackData arm = makeRestTrack("arm");
    arm.channels[0] = {
        makeKey(0.0f, 0.0f, SegmentMode::Linear), makeKey(0.5f, 1.0f, SegmentMode::Constant),
        makeKey(2.0f, 0.0f, SegmentMode::Curve), makeKey(2.5f, 1.0f, SegmentMode::Linear)};
    arm.channels[1] = {makeKey(0.0f, 0.0f, SegmentMode::Curve),
                       makeKey(1.5f, 1.0f, static_cast<SegmentMode>(3))};
    arm.channels[2].clear();
    std::vector<TrackData> tracks;
    tracks.push_back(std::move(arm));
    const std::string path =
        writeAnimation(makeScratchFolder(), "walk.bin", *makeAnimation(2.0f, std::move(tracks)));
    const RunResult run = runInspect({path});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 13u) << run.out;
    EXPECT_EQ(lines[0], path + ": animation, duration 2, tracks 1");
    EXPECT_EQ(lines[1], "  segments: constant 1  linear 1  cubic 2");
    EXPECT_EQ(lines[2], "    track arm  hash " + hashOf("arm"));
    EXPECT_EQ(lines[3],
              "      tx  keys 4  times 0 .. 2.5 (runs past the duration)  constant 1  linear 1  "
              "cubic 1");
    EXPECT_EQ(lines[4],
              "      ty  keys 2  times 0 .. 1.5 (ends before the duration)  constant 0  linear 0  "
              "cubic 1");
    EXPECT_EQ(lines[5], "      tz  no keys");
    EXPECT_EQ(lines[6],
              "      sx  keys 1  times 0 .. 0 (ends before the duration)  constant 0  linear 0  "
              "cubic 0");
}

TEST(InspectSummary, BvhCaptureJointsChannelsFramesAndLength) {
    // Recognised by its first word, whatever the file is called.
    const std::string path = makeScratchFolder() + "/capture.txt";
    writeBytes(path,
               "HIERARCHY\nROOT Hips\n{\n OFFSET 0 1.5 0\n CHANNELS 4 Xposition Yposition "
               "Zposition Yrotation\n JOINT Chest\n {\n  OFFSET 0 2 0\n  CHANNELS 2 Zrotation "
               "Xrotation\n  End Site\n  {\n   OFFSET 0 1 0\n  }\n }\n}\nROOT Prop\n{\n "
               "OFFSET 3 0 0\n CHANNELS 0\n}\nMOTION\nFrames: 3\nFrame Time: 0.25\n"
               "0 0 0 0 0 0\n1 0 0 10 20 30\n2 0 0 20 40 60\n");
    const RunResult run = runInspect({path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path +
                           ": BVH capture, joints 3 (and 1 End Sites), roots 2, channels 6\n"
                           "  frames 3  frame time 0.25 s (4 per second)  length 0.75 s\n"
                           "  joints:\n"
                           "    Hips  offset (0, 1.5, 0)  channels 4 Xposition Yposition Zposition "
                           "Yrotation\n"
                           "      Chest  offset (0, 2, 0)  channels 2 Zrotation Xrotation\n"
                           "        Chest_end (End Site)  offset (0, 1, 0)  channels 0\n"
                           "    Prop  offset (3, 0, 0)  channels 0\n");
}

TEST(InspectSummary, FbxFileFormVersionObjectsAndStacks) {
    // Recognised by its content, whatever the file is called; broken ones fail in one line.
    const std::string folder = makeScratchFolder();
    const std::string path = folder + "/arm.bin";
    const test_support::FbxCharacterLayout layout = test_support::armCharacterLayout();
    writeBytes(path, test_support::writeFbxBinary(test_support::buildFbxCharacter(layout)));
    const RunResult run = runInspect({path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path +
                           ": FBX file, binary, version 7400, models 4 (skeleton joints 3), "
                           "meshes 1, skin clusters 3, animation stacks 1\n"
                           "  stack 'Bend'  from 0 s to 1 s\n");
    const std::string cut = folder + "/cut.fbx";
    writeBytes(cut,
               test_support::writeFbxBinary(test_support::buildFbxCharacter(layout)).substr(0, 60));
    const RunResult broken = runInspect({"check", cut});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out.rfind(cut + ": offset ", 0), 0u) << broken.out;
    EXPECT_EQ(splitLines(broken.out).size(), 1u) << broken.out;
}

TEST(InspectSummary, ManifestEntriesFailuresAndTracksNamingNoBone) {
    const std::string folder = makeScratchFolder();
    writeModel(folder, "arm.ply", *makeOneBoneModel());
    std::vector<TrackData> tracks;
    tracks.push_back(makeRestTrack("arm"));
    tracks.push_back(makeRestTrack("tail"));
    writeAnimation(folder, "wag.anim", *makeAnimation(1.0f, std::move(tracks)));
    const std::string manifest = writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}},
                                               {{"Wag", "wag.anim"}, {"Gone", "gone.anim"}});

    const RunResult run = runInspect({manifest});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, manifest + ": manifest, models 1, animations 2\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "  model 'Arm'  path '" + folder + "/arm.ply'  loads\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "  animation 'Wag'  path '" + folder + "/wag.anim'  loads\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "  animation 'Gone'  path '" + folder + "/gone.anim'  fails: " +
                                      folder + "/gone.anim: open: cannot be opened"))
        << run.out;
    EXPECT_TRUE(contains(run.out,
                         "  tracks that name no bone of model 'Arm':\n"
                         "    'Wag': 'tail'\n"))
        << run.out;
}

TEST(InspectSummary, SeveralFilesAndAFailureExitOne) {
    const std::string folder = makeScratchFolder();
    const std::string model = writeModel(folder, "arm.ply", *makeOneBoneModel());
    const RunResult run = runInspect({model, folder + "/none.ply"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.out, model + ": model, version 2\n")) << run.out;
    EXPECT_EQ(run.err.rfind(folder + "/none.ply: open: cannot be opened", 0), 0u) << run.err;
}

}  // namespace
}  // namespace vorel
