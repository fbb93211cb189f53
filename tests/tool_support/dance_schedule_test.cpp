// DanceSchedule: each dance starts just before its frame, stamped with the clock as it stands,
// in frame order and, within a frame, in the order asked; unknown names start nothing.
#include "tools/common/dance_schedule.h"

#include <gtest/gtest.h>

#include "tests/support/installed_box_figure.h"

namespace vorel {

using namespace test_support;
namespace {

using DanceScheduleTest = InstalledBoxFigure;

TEST_F(DanceScheduleTest, StartsEachDanceJustBeforeItsFrame) {
    DanceSchedule schedule({{"Cancan", 3}, {"Cancan", 1}, {"Cancan", 3}});
    const std::size_t playingAfter[] = {1, 1, 3, 3};
    for (int frame = 1; frame <= 4; ++frame) {
        animationClock = 0.5f * static_cast<float>(frame);
        schedule.startDueDances(frame);
        EXPECT_EQ(figure->playing.size(), playingAfter[frame - 1]) << "frame " << frame;
    }
    ASSERT_EQ(figure->playing.size(), 3u);
    EXPECT_EQ(figure->playing.front().startTime, 0.5f);
    EXPECT_EQ(figure->playing.back().startTime, 1.5f);
}

TEST_F(DanceScheduleTest, UnknownNamesAndFramesNeverReachedStartNothing) {
    DanceSchedule schedule({{"Strut", 1}, {"Cancan", 5}});
    for (int frame = 1; frame <= 4; ++frame) {
        schedule.startDueDances(frame);
    }
    EXPECT_TRUE(figure->playing.empty());
    schedule.startDueDances(5);
    EXPECT_EQ(figure->playing.size(), 1u);
}

TEST_F(DanceScheduleTest, TheScheduleKeepsItsOwnCopyOfTheDances) {
    std::vector<DanceStart> dances = {{"Cancan", 1}};
    DanceSchedule schedule(dances);
    dances.clear();
    schedule.startDueDances(1);
    EXPECT_EQ(figure->playing.size(), 1u);
}

}  // namespace
}  // namespace vorel
