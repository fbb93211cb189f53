// The command-line number parsers: whole numbers in plain digits within a range however long
// the word, and finite numbers filling the whole word.
#include "tools/common/command_line_number.h"

#include <gtest/gtest.h>

#include "tools/common/frame_number.h"
#include "tools/common/positive_number.h"

namespace vorel {
namespace {

TEST(CommandLineNumber, WholeNumbersAreDigitsWithinTheirRange) {
    int value = -1;
    EXPECT_TRUE(parseWholeNumber("0", 0, 10, value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(parseWholeNumber("0010", 0, 10, value));
    EXPECT_EQ(value, 10);
    EXPECT_TRUE(parseWholeNumber("2147483647", 0, 2147483647, value));
    EXPECT_EQ(value, 2147483647);
    value = 7;
    for (const char* refused : {"", "11", "-1", "+1", " 1", "1 ", "1.0", "1e1", "0x1",
                                "99999999999999999999999999", "3"}) {
        EXPECT_FALSE(parseWholeNumber(refused, 4, 10, value)) << refused;
        EXPECT_EQ(value, 7) << refused;
    }
}

TEST(CommandLineNumber, FiniteNumbersFillTheWholeWord) {
    double wide = 0.0;
    EXPECT_TRUE(parseFiniteNumber("-2.5e3", wide));
    EXPECT_EQ(wide, -2500.0);
    float narrow = 0.0f;
    EXPECT_TRUE(parseFiniteNumber(".25", narrow));
    EXPECT_EQ(narrow, 0.25f);
    EXPECT_TRUE(parseFiniteNumber("1e300", wide));
    narrow = 3.0f;
    for (const char* refused : {"", "inf", "nan", "1e39", "2x", "1 ", "--1"}) {
        EXPECT_FALSE(parseFiniteNumber(refused, narrow)) << refused;
        EXPECT_EQ(narrow, 3.0f) << refused;
    }
    EXPECT_FALSE(parseFiniteNumber("1e400", wide));
}

TEST(CommandLineNumber, FramesAndPositiveNumbersKeepTheirRanges) {
    int frame = 0;
    EXPECT_TRUE(parseFrameNumber("1000000", frame));
    EXPECT_FALSE(parseFrameNumber("1000001", frame));
    EXPECT_FALSE(parseFrameNumber("0", frame));
    double number = 0.0;
    EXPECT_TRUE(parsePositiveNumber("1e6", number));
    EXPECT_FALSE(parsePositiveNumber("1.000001e6", number));
    EXPECT_FALSE(parsePositiveNumber("0", number));
    EXPECT_FALSE(parsePositiveNumber("-1", number));
}

}  // namespace
}  // namespace vorel
