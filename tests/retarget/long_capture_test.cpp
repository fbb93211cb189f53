// A long capture through the whole retarget (reading, the plan and the per-frame solve, the
// key reduction and the fixed-view check, as vorel-retarget runs them): every frame is kept,
// and the time grows in proportion to the frame count. The 100,000-frame run is a benchmark
// (bench/retarget_benchmarks.cpp); under the sanitizers the sizes here are smaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "retarget/retarget_file.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/support/program_runner.h"

namespace vorel {
namespace {

#if VOREL_SANITIZED
constexpr int LongFrames = 20000;
#else
constexpr int LongFrames = 100000;
#endif

// The hips, a thigh and its end: the hips sway and turn a little, the thigh swings.
std::string threeJointCapture(int frames) {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 16.7 0\n"
        "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
        "JOINT LeftUpLeg\n{\nOFFSET 1 -8 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
        "End Site\n{\nOFFSET 0 -8 0\n}\n}\n}\nMOTION\nFrames: " +
        std::to_string(frames) + "\nFrame Time: 0.008333\n";
    char line[160];
    for (int f = 0; f < frames; ++f) {
        const double t = 0.01 * f;
        std::snprintf(line, sizeof line, "%.4f %.4f 0.5 %.4f %.4f %.4f %.4f %.4f %.4f\n",
                      3.0 * std::sin(0.1 * t), 0.2 * std::sin(0.3 * t), 3.0 * std::sin(t),
                      2.0 * std::cos(1.3 * t), 5.0 * std::sin(0.7 * t), 30.0 * std::sin(0.9 * t),
                      15.0 * std::cos(0.4 * t), 25.0 * std::sin(1.1 * t));
        text += line;
    }
    return text;
}

std::string writtenCapture(int frames) {
    const std::string path =
        test_support::makeScratchFolder() + "/long-" + std::to_string(frames) + ".bvh";
    test_support::writeBytes(path, threeJointCapture(frames));
    return path;
}

// The processor time of one retarget of the capture onto the default dancer, in seconds.
double retargetSeconds(const std::string& path, RetargetOutcome& outcome) {
    RetargetRequest request;
    request.sourcePath = path;
    LoadError error;
    const std::clock_t start = std::clock();
    EXPECT_TRUE(retargetFile(request, *defaultSet().library->models.front(), outcome, error))
        << error.describe();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

TEST(RetargetLongCapture, KeepsEveryFrameAndTakesTimeInProportionToTheFrameCount) {
    const std::string shortPath = writtenCapture(LongFrames / 4);
    const std::string longPath = writtenCapture(LongFrames);
    RetargetOutcome outcome;
    // The shorter run twice, the faster counting: a first run also pays for warming up.
    const double shortSeconds =
        std::min(retargetSeconds(shortPath, outcome), retargetSeconds(shortPath, outcome));
    ASSERT_EQ(outcome.frameCount, LongFrames / 4);
    const double longSeconds = retargetSeconds(longPath, outcome);
    ASSERT_EQ(outcome.frameCount, LongFrames);
    EXPECT_EQ(outcome.animation.keysBefore, static_cast<std::size_t>(LongFrames) * ChannelCount *
                                                outcome.animation.data->tracks.size());
    EXPECT_GT(outcome.animation.data->tracks.size(), 0u);
    EXPECT_FLOAT_EQ(outcome.animation.data->header->duration,
                    static_cast<float>((LongFrames - 1) * outcome.frameTime));
    EXPECT_GE(outcome.view.framesOut, 0);
    EXPECT_LE(outcome.view.framesOut, LongFrames);
    // Four times the frames: 4 for time in proportion, 16 for time growing with the square.
    EXPECT_LT(longSeconds / shortSeconds, 8.0)
        << shortSeconds << " s for " << LongFrames / 4 << " frames, " << longSeconds << " s for "
        << LongFrames;
}

}  // namespace
}  // namespace vorel
