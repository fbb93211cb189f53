// A long capture through the whole retarget (reading, the plan and the per-frame solve, the
// key reduction and the fixed-view check, as vorel-retarget runs them): every frame is kept,
// and the time grows in proportion to the frame count. The 100,000-frame run is a benchmark
// (bench/retarget_benchmarks.cpp); under the sanitizers the sizes here are smaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "retarget/retarget_file.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/three_joint_capture.h"
#include "tests/support/work_growth.h"

namespace vorel {
namespace {

#if VOREL_SANITIZED
constexpr int LongFrames = 20000;
#else
constexpr int LongFrames = 100000;
#endif

std::string writtenCapture(int frames) {
    const std::string path =
        test_support::makeScratchFolder() + "/long-" + std::to_string(frames) + ".bvh";
    test_support::writeBytes(path, test_support::threeJointCapture(frames));
    return path;
}

// The processor time of one retarget of the capture onto the default dancer, in seconds.
double retargetSeconds(const std::string& path, RetargetOutcome& outcome) {
    RetargetRequest request;
    request.sourcePath = path;
    LoadError error;
    return test_support::processorSeconds([&] {
        EXPECT_TRUE(retargetFile(request, *defaultSet().library->models.front(), outcome, error))
            << error.describe();
    });
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
    EXPECT_LT(longSeconds / shortSeconds, test_support::MostLinearGrowth)
        << shortSeconds << " s for " << LongFrames / 4 << " frames, " << longSeconds << " s for "
        << LongFrames;
}

}  // namespace
}  // namespace vorel
