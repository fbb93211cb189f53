// The actions behind keys 1-7 and space, pressed through the keyboard handler on a real
// figure built from the box library (which holds only "Cancan").
#include "app/dance_actions.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/key_bindings.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/box_figure.h"
#include "tests/support/installed_box_figure.h"

namespace vorel {

using namespace test_support;
namespace {

class DanceActions : public InstalledBoxFigure {
  protected:
    void SetUp() override {
        InstalledBoxFigure::SetUp();
        registerBindings();
    }
};

TEST_F(DanceActions, DigitOneStartsCancanStampedWithTheClock) {
    animationClock = 1.25f;
    keyboard('1', 10, 20);
    ASSERT_EQ(figure->playing.size(), 1u);
    const ActiveAnimation& started = figure->playing.front();
    EXPECT_EQ(started.name, "Cancan");
    EXPECT_EQ(started.startTime, 1.25f);
    EXPECT_EQ(started.localTime, 0.0f);
    EXPECT_EQ(started.clip, figure->clips[0].get());
}

TEST_F(DanceActions, PressingOneAgainWhilePlayingAddsASecondRecord) {
    keyboard('1', 0, 0);
    figure->update(timeStep);
    keyboard('1', 0, 0);
    ASSERT_EQ(figure->playing.size(), 2u);
    EXPECT_GT(figure->playing.front().localTime, 0.0f);
    EXPECT_EQ(figure->playing.back().localTime, 0.0f);
}

TEST_F(DanceActions, DancesTheLibraryLacksLeaveTheFigureUnchanged) {
    for (char key : {'2', '3', '4', '5', '6', '7'}) {
        keyboard(static_cast<unsigned char>(key), 0, 0);
    }
    EXPECT_TRUE(figure->playing.empty());
}

TEST_F(DanceActions, EveryDanceActionStartsItsOwnName) {
    resetAppGlobals();
    registerBindings();
    installFigure(makeSevenDanceBoxLibrary());
    for (char key = '1'; key <= '7'; ++key) {
        keyboard(static_cast<unsigned char>(key), 0, 0);
    }
    ASSERT_EQ(figure->playing.size(), 7u);
    auto record = figure->playing.begin();
    for (const char* name : SevenDanceNames) {
        EXPECT_EQ((record++)->name, name);
    }
}

TEST_F(DanceActions, SpaceStopsAndRestartsTheClock) {
    keyboard(' ', 0, 0);
    EXPECT_FALSE(clockRunning);
    keyboard(' ', 0, 0);
    EXPECT_TRUE(clockRunning);
}

TEST_F(DanceActions, DancesStartedWhileTheClockStandsShareItsFrozenValue) {
    animationClock = 0.3f;
    keyboard(' ', 0, 0);
    keyboard('1', 0, 0);
    keyboard('1', 0, 0);
    ASSERT_EQ(figure->playing.size(), 2u);
    EXPECT_EQ(figure->playing.front().startTime, 0.3f);
    EXPECT_EQ(figure->playing.back().startTime, 0.3f);
}

TEST_F(DanceActions, OtherKeysChangeNothing) {
    animationClock = 0.5f;
    for (int key = 0; key < 256; ++key) {
        const bool bound = (key >= '1' && key <= '7') || key == ' ' || key == 27;
        if (!bound) {
            keyboard(static_cast<unsigned char>(key), 0, 0);
        }
    }
    for (int key = 0; key < 512; ++key) {
        specialKey(key, 0, 0);
    }
    EXPECT_TRUE(figure->playing.empty());
    EXPECT_TRUE(clockRunning);
    EXPECT_EQ(animationClock, 0.5f);
    EXPECT_EQ(spinAngle, 0.0f);
}

}  // namespace
}  // namespace vorel
