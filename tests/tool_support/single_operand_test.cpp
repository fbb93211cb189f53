// singleOperand: the one operand handed back, --help on stdout, and every other line a usage
// error on stderr naming what is wrong.
#include "tools/common/single_operand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/common/exit_status.h"

namespace vorel {
namespace {

constexpr const char* Usage = "Usage: tool THING\n";

struct Outcome {
    std::optional<std::string> operand;
    int exitStatus = -1;
    std::string out;
    std::string err;
};

Outcome readLine(std::vector<std::string> words) {
    words.insert(words.begin(), "tool");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    Outcome outcome;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    outcome.operand = singleOperand(static_cast<int>(argv.size()), argv.data(), "tool", Usage,
                                    "expected one THING", outcome.exitStatus);
    outcome.out = testing::internal::GetCapturedStdout();
    outcome.err = testing::internal::GetCapturedStderr();
    return outcome;
}

TEST(SingleOperand, OneOperandIsHandedBackSilently) {
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"set"}, {"-"}, {"--", "--odd-name"}}) {
        const Outcome outcome = readLine(line);
        ASSERT_TRUE(outcome.operand.has_value()) << line.back();
        EXPECT_EQ(*outcome.operand, line.back());
        EXPECT_EQ(outcome.out + outcome.err, "");
    }
}

TEST(SingleOperand, HelpPrintsTheUsageOnStdoutAndSucceeds) {
    const Outcome outcome = readLine({"--help"});
    EXPECT_FALSE(outcome.operand.has_value());
    EXPECT_EQ(outcome.exitStatus, ExitSuccess);
    EXPECT_EQ(outcome.out, Usage);
    EXPECT_EQ(outcome.err, "");
}

TEST(SingleOperand, AnyOtherLineIsAUsageErrorSayingWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "tool: expected one THING\n"},
        {{"a", "b"}, "tool: expected one THING\n"},
        {{"--force", "a"}, "tool: unknown option '--force'\n"},
        {{"-x"}, "tool: unknown option '-x'\n"},
    };
    for (const auto& [line, message] : cases) {
        const Outcome outcome = readLine(line);
        EXPECT_FALSE(outcome.operand.has_value());
        EXPECT_EQ(outcome.exitStatus, ExitUsage);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, message + Usage);
    }
}

}  // namespace
}  // namespace vorel
