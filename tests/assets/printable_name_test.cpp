// printableName: every byte a terminal could take as a command or could not show becomes
// \xnn, so that a message about a name stays one line and cannot rewrite the screen; valid
// UTF-8 text, backslashes included, stays as it is.
#include "assets/printable_name.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(PrintableName, KeepsPlainTextAndValidUtf8AsItIs) {
    EXPECT_EQ(printableName("Left Arm"), "Left Arm");
    EXPECT_EQ(printableName("p\\x"), "p\\x");
    EXPECT_EQ(printableName("h\xc3\xa9p"), "h\xc3\xa9p");  // hép
    EXPECT_EQ(printableName("\xe8\x85\xb0 \xf0\x9f\x92\x83"), "\xe8\x85\xb0 \xf0\x9f\x92\x83");
    EXPECT_EQ(printableName(""), "");
}

TEST(PrintableName, ShowsControlBytesAsHex) {
    EXPECT_EQ(printableName("a\nb\rc\td"), "a\\x0ab\\x0dc\\x09d");
    EXPECT_EQ(printableName(std::string("\0\x1f\x7f ", 4)), "\\x00\\x1f\\x7f ");
    EXPECT_EQ(printableName("\x1b[2J\a"), "\\x1b[2J\\x07");
    // The C1 controls, such as U+009B (a one-character CSI to some terminals), in UTF-8.
    EXPECT_EQ(printableName("a\xc2\x9b"
                            "2Jb\xc2\x85"),
              "a\\xc2\\x9b2Jb\\xc2\\x85");
    // Bidirectional overrides and isolates, which show text in another order than it has.
    EXPECT_EQ(printableName("x\xe2\x80\xaeyz\xe2\x81\xa6"), "x\\xe2\\x80\\xaeyz\\xe2\\x81\\xa6");
}

TEST(PrintableName, ShowsEveryByteOfInvalidUtf8AsHex) {
    EXPECT_EQ(printableName("h\xe9p"), "h\\xe9p");                         // Latin-1, not UTF-8
    EXPECT_EQ(printableName("\xc3"), "\\xc3");                             // cut short at the end
    EXPECT_EQ(printableName("\xc3(x"), "\\xc3(x");                         // lead without follower
    EXPECT_EQ(printableName("\x80\xbf"), "\\x80\\xbf");                    // stray followers
    EXPECT_EQ(printableName("\xc0\xaf"), "\\xc0\\xaf");                    // overlong '/'
    EXPECT_EQ(printableName("\xed\xa0\x80"), "\\xed\\xa0\\x80");           // a surrogate
    EXPECT_EQ(printableName("\xf4\x90\x80\x80"), "\\xf4\\x90\\x80\\x80");  // past U+10FFFF
    EXPECT_EQ(printableName("\xff\xfe"), "\\xff\\xfe");
}

TEST(PrintableName, ShowingTwiceChangesNothingMore) {
    const std::string once = printableName("a\x1b\xe9\xc2\x9b\\b\xc3\xa9");
    EXPECT_EQ(printableName(once), once);
}

}  // namespace
}  // namespace vorel
