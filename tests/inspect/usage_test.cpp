// vorel-inspect's command line: --help, and usage errors that exit 2 with the usage on stderr.
#include <gtest/gtest.h>

#include "tests/inspect/inspect_runner.h"

namespace vorel {
namespace {

TEST(InspectUsage, HelpPrintsUsageOnStdoutAndExitsZero) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"check", "--help"}, {"pose", "-h"}}) {
        const RunResult run = runInspect(arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Usage: vorel-inspect FILE...\n", 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

TEST(InspectUsage, UsageErrorsExitTwoWithUsageOnStderr) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--verbose", "file"},
        {"check"},
        {"check", "--lenient", "file"},
        {"sample", "file.anim", "arm"},
        {"sample", "file.anim", "arm", "soon"},
        {"sample", "file.anim", "arm", "inf"},
        {"pose", "vorel.txt"},
        {"pose", "vorel.txt", "-3"},
        {"pose", "vorel.txt", "ten"},
        {"pose", "vorel.txt", "10", "Cancan"},
        {"pose", "vorel.txt", "10", "Cancan@0"},
        {"pose", "vorel.txt", "10", "@3"},
        {"pose", "vorel.txt", "10", "Cancan@11"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const RunResult run = runInspect(arguments);
        std::string shown;
        for (const std::string& argument : arguments) shown += " " + argument;
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(run.err.rfind("vorel-inspect: ", 0), 0u) << shown << "\n" << run.err;
        EXPECT_NE(run.err.find("Usage: vorel-inspect"), std::string::npos) << shown;
    }
}

TEST(InspectUsage, DoubleDashLetsAFileStartWithADash) {
    const RunResult run = runInspect({"check", "--", "-missing"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "-missing: open: cannot be opened: No such file or directory\n");
}

}  // namespace
}  // namespace vorel
