// hashName: the empty name, a known value and the sign extension of high bytes.
#include "math/hash_name.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(HashName, EmptyNameHashesToZero) {
    EXPECT_EQ(hashName(""), 0u);
}

TEST(HashName, AbcHashesTo395491) {
    EXPECT_EQ(hashName("abc"), 395491u);
}

TEST(HashName, HighBytesContributeTheirSignExtendedValue) {
    // 0xE9 is -23 as a signed byte: h = 0 ^ 0 ^ 0xFFFFFFE9 for the first byte, then
    // h = (0xFFFFFFE9 << 6) ^ (0xFFFFFFE9 & 0xFFF00000) ^ 'a'
    //   = 0xFFFFFA40 ^ 0xFFF00000 ^ 0x61 = 0x00000FA40 ^ 0x61 = 0x000FFA21.
    EXPECT_EQ(hashName("\xE9"), 0xFFFFFFE9u);
    EXPECT_EQ(hashName("\xE9"
                       "a"),
              0x000FFA21u);
}

TEST(HashName, JoyousWalkMatchesItsKnownHash) {
    EXPECT_EQ(hashName("Joyous Walk"), 2752121707u);
}

}  // namespace
}  // namespace vorel
