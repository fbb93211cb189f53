// The GL-free steps of a frame, with no context at all: the figure's update moves animations
// and nothing else, the clock's advance moves the clock and nothing else.
#include "app/frame_steps.h"

#include <gtest/gtest.h>

#include "app/dance_actions.h"
#include "tests/support/installed_box_figure.h"

namespace vorel {

using namespace test_support;
namespace {

class FrameSteps : public InstalledBoxFigure {
  protected:
    void SetUp() override {
        InstalledBoxFigure::SetUp();
        startDance("Cancan");
    }
};

TEST_F(FrameSteps, UpdateFigureMovesPlayingAnimationsByTheStepOnly) {
    timeStep = 0.25f;
    updateFigure();
    ASSERT_EQ(figure->playing.size(), 1u);
    EXPECT_EQ(figure->playing.front().localTime, 0.25f);
    EXPECT_EQ(animationClock, 0.0f);
    EXPECT_EQ(spinAngle, 0.0f);
    // The slide has moved the box along +X: its skinned corners are no longer the bind pose.
    EXPECT_NE(figure->instances[0]->positions[0].x, -60.0f);
}

TEST_F(FrameSteps, TakeSpinAngleGivesTheAngleBeforeTurningOneDegreeFurther) {
    spinAngle = 359.0f;
    EXPECT_EQ(takeSpinAngle(), 359.0f);
    EXPECT_EQ(takeSpinAngle(), 360.0f);
    EXPECT_EQ(spinAngle, 361.0f);
    EXPECT_EQ(figure->playing.front().localTime, 0.0f);
    EXPECT_EQ(animationClock, 0.0f);
}

TEST_F(FrameSteps, AdvanceClockAddsTheStepWhileRunningAndLeavesTheFigure) {
    timeStep = 0.5f;
    advanceClock();
    advanceClock();
    EXPECT_EQ(animationClock, 1.0f);
    clockRunning = false;
    advanceClock();
    EXPECT_EQ(animationClock, 1.0f);
    ASSERT_EQ(figure->playing.size(), 1u);
    EXPECT_EQ(figure->playing.front().localTime, 0.0f);
}

}  // namespace
}  // namespace vorel
