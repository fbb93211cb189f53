// vorel-inspect check: a model or an animation holding a value that is not finite fails the
// check, alone or named by a manifest, although its loader takes any float.
#include <gtest/gtest.h>

#include <limits>

#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"

namespace vorel {
namespace {

constexpr float Infinity = std::numeric_limits<float>::infinity();

TEST(InspectCheckNonFinite, PositionsNormalsBonePointsAndKeysThatAreNotFiniteFail) {
    const std::string folder = makeScratchFolder();
    std::unique_ptr<ModelData> farPosition = makeOneBoneModel();
    farPosition->positions[2].x = Infinity;
    std::unique_ptr<ModelData> nanNormal = makeOneBoneModel();
    nanNormal->normals[0].y = std::numeric_limits<float>::quiet_NaN();
    std::unique_ptr<ModelData> farBone = makeOneBoneModel();
    farBone->rootBone->tail.z = -Infinity;
    std::vector<TrackData> tracks;
    tracks.push_back(makeRestTrack("arm"));
    tracks[0].channels[1][0].value = Infinity;
    const std::unique_ptr<AnimationData> farKey = makeAnimation(1.0f, std::move(tracks));

    const RunResult run = runInspect({"check", writeModel(folder, "position.ply", *farPosition),
                                      writeModel(folder, "normal.ply", *nanNormal),
                                      writeModel(folder, "bone.ply", *farBone),
                                      writeAnimation(folder, "key.anim", *farKey)});
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> lines;
    for (const std::string& line : splitLines(run.out)) {
        if (line.find(": warning: ") == std::string::npos) lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u) << run.out;
    EXPECT_EQ(lines[0], folder + "/position.ply: position 2 is not finite");
    EXPECT_EQ(lines[1], folder + "/normal.ply: normal 0 is not finite");
    EXPECT_EQ(lines[2], folder + "/bone.ply: bone 'arm' points is not finite");
    EXPECT_EQ(lines[3], folder + "/key.anim: track 'arm' channel 1 key 0 is not finite");
}

TEST(InspectCheckNonFinite, AManifestNamesTheModelOrAnimationHoldingIt) {
    const std::string folder = makeScratchFolder();
    std::unique_ptr<ModelData> model = makeOneBoneModel();
    model->positions[0].y = Infinity;
    writeModel(folder, "arm.ply", *model);
    std::vector<TrackData> tracks;
    tracks.push_back(makeRestTrack("arm"));
    writeAnimation(folder, "still.anim", *makeAnimation(Infinity, std::move(tracks)));
    const std::string manifest =
        writeManifest(folder, "vorel.txt", {{"Arm", "arm.ply"}}, {{"Strut", "still.anim"}});
    const RunResult run = runInspect({"check", manifest});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(manifest + ": model 'Arm': position 0 is not finite\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(manifest + ": animation 'Strut': duration is not finite\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace vorel
