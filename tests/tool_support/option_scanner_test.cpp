// OptionScanner: operands, values and word runs taken in order, "--" and "-" read as operands,
// --help ending the reading, and a missing value named.
#include "tools/common/option_scanner.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

using Words = std::vector<std::string>;

TEST(OptionScanner, HandsOverOptionsInOrderAndCollectsTheOperandsAround) {
    const Words arguments = {"in.glb", "--speed", "2", "-", "--bake", "A@1", "B@2", "out", "--",
                             "--not-an-option"};
    OptionScanner scanner(arguments);
    std::string problem;
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--speed");
    std::string value;
    ASSERT_TRUE(scanner.takeValue(value, problem));
    EXPECT_EQ(value, "2");
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--bake");
    Words taken;
    const auto danceStart = [&taken](const std::string& word) {
        if (word.find('@') == std::string::npos) return false;
        taken.push_back(word);
        return true;
    };
    EXPECT_EQ(scanner.takeWordsWhile(danceStart), 2u);
    EXPECT_EQ(taken, Words({"A@1", "B@2"}));
    EXPECT_FALSE(scanner.nextOption());
    EXPECT_FALSE(scanner.helpRequested());
    EXPECT_EQ(scanner.operands(), Words({"in.glb", "-", "out", "--not-an-option"}));
}

TEST(OptionScanner, HelpEndsTheReadingAndAMissingValueIsNamed) {
    const Words help = {"a", "-h", "--unknown"};
    OptionScanner helped(help);
    EXPECT_FALSE(helped.nextOption());
    EXPECT_TRUE(helped.helpRequested());

    const Words missing = {"a", "--speed"};
    OptionScanner scanner(missing);
    ASSERT_TRUE(scanner.nextOption());
    std::string value, problem;
    EXPECT_FALSE(scanner.takeValue(value, problem));
    EXPECT_EQ(problem, "--speed needs a value");
    EXPECT_FALSE(scanner.nextOption());
    EXPECT_EQ(scanner.operands(), Words({"a"}));
}

}  // namespace
}  // namespace vorel
