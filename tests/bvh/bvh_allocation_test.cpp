// The BVH reader sizes its buffers by the text it holds, never by the counts the text claims.
#include <gtest/gtest.h>

#include <string>

#include "bvh/read_bvh.h"
#include "tests/support/allocation_counter.h"

namespace vorel {
namespace {

const std::string Hierarchy =
    "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 3 Xrotation Yrotation Zrotation\n"
    " End Site\n {\n  OFFSET 0 1 0\n }\n}\nMOTION\n";

// The largest block reading `text` asks for; whether the read succeeds goes to `read`.
std::size_t largestBlockReading(const std::string& text, bool& read) {
    BvhMotion motion;
    LoadError error;
    test_support::resetLargestAllocation();
    read = readBvh(text, "lying.bvh", motion, error);
    return test_support::largestAllocation();
}

TEST(ReadBvhAllocation, LyingCountsAllocateNoMoreThanTheTextHolds) {
    const std::size_t bound = 4096;
    bool read = false;
    // A Frames: line that overstates the motion lines reads the lines present.
    EXPECT_LT(
        largestBlockReading(Hierarchy + "Frames: 2000000000\nFrame Time: 0.01\n1 2 3\n", read),
        bound);
    EXPECT_TRUE(read);
    EXPECT_LT(largestBlockReading(Hierarchy + "Frames: 2147483647\nFrame Time: 0.01\n", read),
              bound);
    EXPECT_LT(
        largestBlockReading(
            "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 2147483647 Xrotation Yrotation\n}\n",
            read),
        bound);
    EXPECT_FALSE(read);
}

TEST(ReadBvhAllocation, AnHonestCaptureReservesItsValuesOnce) {
    std::string text = Hierarchy + "Frames: 1000\nFrame Time: 0.01\n";
    for (int f = 0; f < 1000; ++f) text += "1 2 3\n";
    BvhMotion motion;
    LoadError error;
    test_support::resetLargestAllocation();
    ASSERT_TRUE(readBvh(text, "honest.bvh", motion, error)) << error.describe();
    EXPECT_EQ(3000u * sizeof(float), test_support::largestAllocation());
}

}  // namespace
}  // namespace vorel
