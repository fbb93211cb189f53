// vorel-inspect sample: values at keys, between keys, outside the keys and after backward
// jumps, worked out by hand from the keys.
#include <gtest/gtest.h>

#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"

namespace vorel {
namespace {

const float HalfTurnAboutZ[4] = {0.0f, 0.0f, 2.0f, 0.0f};

// "arm": tx linear 0 -> 10 over [0, 1], ty constant 0 then 10 at 1, tz 3; the rotation is
// stored as (0, 0, 2, 0), which sampling normalises to (0, 0, 1, 0).
// "curve": sx cubic through (0, 0), (1, 1), (2, 1), (3, 0).
std::string writeSampleAnimation(const std::string& folder) {
    TrackData arm =
        makeStillTrack("arm", Vector3(0.0f, 0.0f, 3.0f), Vector3(1.0f, 1.0f, 1.0f), HalfTurnAboutZ);
    arm.channels[0] = {makeKey(0.0f, 0.0f, SegmentMode::Linear),
                       makeKey(1.0f, 10.0f, SegmentMode::Linear)};
    arm.channels[1] = {makeKey(0.0f, 0.0f, SegmentMode::Constant),
                       makeKey(1.0f, 10.0f, SegmentMode::Constant)};
    TrackData curve = makeRestTrack("curve");
    curve.channels[3] = {
        makeKey(0.0f, 0.0f, SegmentMode::Curve), makeKey(1.0f, 1.0f, SegmentMode::Curve),
        makeKey(2.0f, 1.0f, SegmentMode::Curve), makeKey(3.0f, 0.0f, SegmentMode::Curve)};
    std::vector<TrackData> tracks;
    tracks.push_back(std::move(arm));
    tracks.push_back(std::move(curve));
    return writeAnimation(folder, "sample.anim", *makeAnimation(3.0f, std::move(tracks)));
}

TEST(InspectSample, LinearAndConstantChannelsAtKeysBetweenKeysAndAfterBackwardJumps) {
    const std::string animation = writeSampleAnimation(makeScratchFolder());
    const RunResult run =
        runInspect({"sample", animation, "arm", "0.25", "1", "2", "-1", "0.75", "0.5", "0.25"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "0.25  translation 2.5 0 3  scale 1 1 1  rotation 0 0 1 0\n"
              "1  translation 10 10 3  scale 1 1 1  rotation 0 0 1 0\n"
              "2  translation 10 10 3  scale 1 1 1  rotation 0 0 1 0\n"
              "-1  translation 0 0 3  scale 1 1 1  rotation 0 0 1 0\n"
              "0.75  translation 7.5 0 3  scale 1 1 1  rotation 0 0 1 0\n"
              "0.5  translation 5 0 3  scale 1 1 1  rotation 0 0 1 0\n"
              "0.25  translation 2.5 0 3  scale 1 1 1  rotation 0 0 1 0\n");
}

// The inner segment [1, 2] of the curve has time tangents equal to its length, so its time is
// linear in s; the value is 1 + s (0.5 - 0.5 s), 1.125 at s = 0.5. A linear segment would give 1.
TEST(InspectSample, CubicInnerSegmentMatchesTheHermiteCurve) {
    const std::string animation = writeSampleAnimation(makeScratchFolder());
    const RunResult run = runInspect({"sample", animation, "curve", "1.5", "1", "3", "1.5", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1.5  translation 0 0 0  scale 1.125 1 1  rotation 0 0 0 1\n"
              "1  translation 0 0 0  scale 1 1 1  rotation 0 0 0 1\n"
              "3  translation 0 0 0  scale 0 1 1  rotation 0 0 0 1\n"
              "1.5  translation 0 0 0  scale 1.125 1 1  rotation 0 0 0 1\n"
              "2  translation 0 0 0  scale 1 1 1  rotation 0 0 0 1\n");
}

TEST(InspectSample, MissingTrackAndBrokenFileFailWithStatusOne) {
    const std::string folder = makeScratchFolder();
    const std::string animation = writeSampleAnimation(folder);
    const RunResult noTrack = runInspect({"sample", animation, "leg", "0"});
    EXPECT_EQ(noTrack.status, 1);
    EXPECT_EQ(noTrack.out, "");
    EXPECT_EQ(noTrack.err, animation + ": no track named 'leg'\n");

    const std::string wrongMagic = folder + "/wrong.anim";
    writeBytes(wrongMagic, std::string("\x78\x56\x34\x12\0\0\0\0\0\0", 10));
    const RunResult broken = runInspect({"sample", wrongMagic, "arm", "0"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err.rfind(wrongMagic + ": offset 0: ", 0), 0u) << broken.err;
}

}  // namespace
}  // namespace vorel
