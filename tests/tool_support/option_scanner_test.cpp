// OptionScanner: operands, values and word runs taken in order, "--" and "-" read as operands,
// --help ending the reading, a missing value named, "--name=value", and the operands counted
// at the end.
#include "tools/common/option_scanner.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

using Words = std::vector<std::string>;

// A takeWordsWhile test that takes the words holding '@' into taken.
auto wordsWithAt(Words& taken) {
    return [&taken](const std::string& word) {
        if (word.find('@') == std::string::npos) return false;
        taken.push_back(word);
        return true;
    };
}

TEST(OptionScanner, HandsOverOptionsInOrderAndCollectsTheOperandsAround) {
    const Words arguments = {"in.glb", "--speed", "2",   "-",  "--bake",
                             "A@1",    "B@2",     "out", "--", "--not-an-option"};
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
    const auto danceStart = wordsWithAt(taken);
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
    EXPECT_EQ(problem, "option '--speed' needs a value");
    EXPECT_FALSE(scanner.nextOption());
    EXPECT_EQ(scanner.operands(), Words({"a"}));
}

TEST(OptionScanner, EqualsGivesTheValueInTheSameWord) {
    const Words arguments = {"--speed=2", "--keys=", "--fit=a=b", "--bake=A@1", "B@2", "x"};
    OptionScanner scanner(arguments);
    std::string value, problem;
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--speed");
    ASSERT_TRUE(scanner.takeValue(value, problem));
    EXPECT_EQ(value, "2");
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--keys");
    ASSERT_TRUE(scanner.takeValue(value, problem));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--fit");
    ASSERT_TRUE(scanner.takeValue(value, problem));
    EXPECT_EQ(value, "a=b");
    ASSERT_TRUE(scanner.nextOption());
    Words taken;
    const auto danceStart = wordsWithAt(taken);
    EXPECT_EQ(scanner.takeWordsWhile(danceStart), 2u);
    EXPECT_EQ(taken, Words({"A@1", "B@2"}));
    EXPECT_FALSE(scanner.nextOption());
    EXPECT_TRUE(scanner.finishOperands(1, 1, "needs X", problem));
    EXPECT_EQ(scanner.operands(), Words({"x"}));
}

TEST(OptionScanner, AValueGivenToAnOptionThatTakesNoneIsAProblemUnlessHelpFollows) {
    const Words flagged = {"--gltf=yes", "in", "out"};
    OptionScanner scanner(flagged);
    ASSERT_TRUE(scanner.nextOption());
    EXPECT_EQ(scanner.option(), "--gltf");
    EXPECT_FALSE(scanner.nextOption());
    std::string problem;
    EXPECT_FALSE(scanner.finishOperands(2, 2, "needs IN and OUT", problem));
    EXPECT_EQ(problem, "option '--gltf' takes no value");

    const Words helped = {"--gltf=yes", "--help"};
    OptionScanner thenHelp(helped);
    ASSERT_TRUE(thenHelp.nextOption());
    EXPECT_FALSE(thenHelp.nextOption());
    EXPECT_TRUE(thenHelp.finishOperands(2, 2, "needs IN and OUT", problem));
    EXPECT_TRUE(thenHelp.helpRequested());

    const Words notHelp = {"--help=yes"};
    OptionScanner asOption(notHelp);
    ASSERT_TRUE(asOption.nextOption());
    EXPECT_EQ(asOption.option(), "--help");
}

TEST(OptionScanner, FinishingCountsTheOperandsAndHelpSkipsTheCount) {
    for (const Words& arguments : {Words{}, Words{"a"}, Words{"a", "b"}, Words{"a", "b", "c"}}) {
        OptionScanner scanner(arguments);
        EXPECT_FALSE(scanner.nextOption());
        std::string problem;
        const bool counted = scanner.finishOperands(1, 2, "needs A and maybe B", problem);
        EXPECT_EQ(counted, arguments.size() == 1 || arguments.size() == 2) << arguments.size();
        EXPECT_EQ(problem, counted ? "" : "needs A and maybe B");
    }
    const Words help = {"a", "b", "c", "-h"};
    OptionScanner scanner(help);
    EXPECT_FALSE(scanner.nextOption());
    std::string problem;
    EXPECT_TRUE(scanner.finishOperands(1, 2, "needs A and maybe B", problem));
    EXPECT_EQ(problem, "");
}

TEST(OptionScanner, DashedNumbersAreOperandsOnlyWhenTheToolSaysSo) {
    const Words arguments = {"-0.5", "-.5", "-3", "-x"};
    OptionScanner asOperands(arguments, DashedNumbers::AreOperands);
    ASSERT_TRUE(asOperands.nextOption());
    EXPECT_EQ(asOperands.option(), "-x");
    EXPECT_EQ(asOperands.operands(), Words({"-0.5", "-.5", "-3"}));

    OptionScanner asOptions(arguments);
    ASSERT_TRUE(asOptions.nextOption());
    EXPECT_EQ(asOptions.option(), "-0.5");
}

}  // namespace
}  // namespace vorel
