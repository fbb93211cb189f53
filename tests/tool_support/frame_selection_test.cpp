// Frame lists as the tools take them on a command line: single frames, ranges and lists, and
// every malformed list.
#include "tools/common/frame_selection.h"

#include <gtest/gtest.h>

#include <string>

namespace vorel {
namespace {

TEST(FrameSelection, AcceptsSingleFramesRangesAndLists) {
    FrameSelection frames;
    std::string problem;
    ASSERT_TRUE(frames.parse("3,10-12,7", problem)) << problem;
    EXPECT_EQ(frames.last(), 12);
    EXPECT_EQ(frames.count(), 5);
    for (int frame : {3, 7, 10, 11, 12}) {
        EXPECT_TRUE(frames.contains(frame)) << frame;
    }
    for (int frame : {1, 2, 4, 9, 13}) {
        EXPECT_FALSE(frames.contains(frame)) << frame;
    }
    ASSERT_TRUE(frames.parse("5-6,6", problem));
    EXPECT_EQ(frames.count(), 2);
}

TEST(FrameSelection, RejectsEveryMalformedList) {
    for (const std::string text : {"", "0", "-3", "3-", "5-2", "1,,2", "1,", ",1", "x", "1.5", "+2",
                                   " 1", "1000001", "99999999999", "1-2-3"}) {
        FrameSelection frames;
        std::string problem;
        EXPECT_FALSE(frames.parse(text, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
        EXPECT_EQ(frames.last(), 0) << text;
    }
}

}  // namespace
}  // namespace vorel
