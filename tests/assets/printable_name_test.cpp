// printableName: control bytes shown as \xnn so that a message about a name stays one line;
// every other byte, backslashes and bytes past 0x7f included, as it is.
#include "assets/printable_name.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(PrintableName, ShowsControlBytesAsHexAndEverythingElseAsItIs) {
    EXPECT_EQ(printableName("Left Arm"), "Left Arm");
    EXPECT_EQ(printableName("h\xe9p\\x"), "h\xe9p\\x");
    EXPECT_EQ(printableName("a\nb\rc\td"), "a\\x0ab\\x0dc\\x09d");
    EXPECT_EQ(printableName(std::string("\0\x1f\x7f ", 4)), "\\x00\\x1f\\x7f ");
    EXPECT_EQ(printableName(""), "");
}

}  // namespace
}  // namespace vorel
