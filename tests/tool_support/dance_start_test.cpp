// NAME@FRAME as the tools take it, and the check of asked-for dances against a library.
#include "tools/common/dance_start.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/box_figure.h"

namespace vorel {

using namespace test_support;
namespace {

TEST(DanceStart, SplitsAtTheLastAt) {
    DanceStart dance;
    ASSERT_TRUE(parseDanceStart("Joyous Walk@30", dance));
    EXPECT_EQ(dance.name, "Joyous Walk");
    EXPECT_EQ(dance.frame, 30);
    ASSERT_TRUE(parseDanceStart("a@b@2", dance));
    EXPECT_EQ(dance.name, "a@b");
    for (const std::string text : {"Cancan", "@5", "Cancan@", "Cancan@0", "Cancan@x"}) {
        EXPECT_FALSE(parseDanceStart(text, dance)) << text;
    }
}

TEST(DanceStart, FrameIsAFrameNumberUpToTheLastAllowed) {
    DanceStart dance;
    EXPECT_TRUE(parseDanceStart("Strut@1000000", dance));
    EXPECT_EQ(dance.frame, 1000000);
    for (const std::string text : {"Strut@1000001", "Strut@-1", "Strut@+1", "Strut@ 1"}) {
        EXPECT_FALSE(parseDanceStart(text, dance)) << text;
    }
}

TEST(DanceStart, FindsTheFirstDanceTheLibraryLacks) {
    const std::unique_ptr<AssetLibrary> library = makeBoxLibrary();
    EXPECT_EQ(findUnknownDance({}, *library), "");
    EXPECT_EQ(findUnknownDance({{"Cancan", 1}, {"Cancan", 9}}, *library), "");
    EXPECT_EQ(findUnknownDance({{"Cancan", 1}, {"Strut", 2}, {"Salute", 1}}, *library), "Strut");
    // Names are compared byte for byte, as the viewer's keys look them up.
    EXPECT_EQ(findUnknownDance({{"cancan", 1}}, *library), "cancan");
}

}  // namespace
}  // namespace vorel
