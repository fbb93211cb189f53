// vorel-render's command line: frame lists, options and every usage error (NAME@FRAME itself
// is tested with the rest of app/).
#include "tools/render/render_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorel {
namespace {

bool parse(const std::vector<std::string>& arguments, RenderOptions& options,
           std::string& problem) {
    return parseRenderOptions(arguments, options, problem);
}

TEST(FrameSelection, AcceptsSingleFramesRangesAndLists) {
    FrameSelection frames;
    std::string problem;
    ASSERT_TRUE(frames.parse("3,10-12,7", problem)) << problem;
    EXPECT_EQ(frames.last(), 12);
    EXPECT_EQ(frames.count(), 5);
    for (int frame : {3, 7, 10, 11, 12}) {
        EXPECT_TRUE(frames.contains(frame)) << frame;
    }
    for (int frame : {1, 2, 4, 9, 13}) {
        EXPECT_FALSE(frames.contains(frame)) << frame;
    }
    ASSERT_TRUE(frames.parse("5-6,6", problem));
    EXPECT_EQ(frames.count(), 2);
}

TEST(FrameSelection, RejectsEveryMalformedList) {
    for (const std::string text : {"", "0", "-3", "3-", "5-2", "1,,2", "1,", ",1", "x", "1.5", "+2",
                                   " 1", "1000001", "99999999999", "1-2-3"}) {
        FrameSelection frames;
        std::string problem;
        EXPECT_FALSE(frames.parse(text, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
        EXPECT_EQ(frames.last(), 0) << text;
    }
}

TEST(RenderOptions, DefaultsToFrameOneInTheWorkingDirectory) {
    RenderOptions options;
    std::string problem;
    ASSERT_TRUE(parse({"dancer/vorel.txt"}, options, problem)) << problem;
    EXPECT_EQ(options.manifest, "dancer/vorel.txt");
    EXPECT_EQ(options.frames.last(), 1);
    EXPECT_EQ(options.frames.count(), 1);
    EXPECT_EQ(options.outputFolder, ".");
    EXPECT_TRUE(options.sheetPath.empty());
    EXPECT_EQ(options.benchmarkFrames, 0);
    EXPECT_FALSE(options.showHelp);
}

TEST(RenderOptions, ReadsShortLongAndEqualsForms) {
    RenderOptions options;
    std::string problem;
    ASSERT_TRUE(parse({"-f", "1-4", "--dance=Strut@2", "-d", "Salute@3", "--output", "out",
                       "--sheet=s.png", "--columns", "2", "m.txt"},
                      options, problem))
        << problem;
    EXPECT_EQ(options.frames.count(), 4);
    ASSERT_EQ(options.dances.size(), 2u);
    EXPECT_EQ(options.dances[0].name, "Strut");
    EXPECT_EQ(options.dances[1].frame, 3);
    EXPECT_EQ(options.outputFolder, "out");
    EXPECT_EQ(options.sheetPath, "s.png");
    EXPECT_EQ(options.sheetColumns, 2);
    EXPECT_EQ(options.manifest, "m.txt");
}

TEST(RenderOptions, DoubleDashEndsTheOptions) {
    RenderOptions options;
    std::string problem;
    ASSERT_TRUE(parse({"--benchmark", "50", "--", "-odd name.txt"}, options, problem)) << problem;
    EXPECT_EQ(options.manifest, "-odd name.txt");
    EXPECT_EQ(options.benchmarkFrames, 50);
}

TEST(RenderOptions, HelpWinsOverEverythingElse) {
    RenderOptions options;
    std::string problem;
    ASSERT_TRUE(parse({"--frames", "2", "--help", "--bogus"}, options, problem));
    EXPECT_TRUE(options.showHelp);
    EXPECT_NE(renderUsage().find("Usage: vorel-render"), std::string::npos);
}

TEST(RenderOptions, RejectsEveryUsageError) {
    const std::vector<std::vector<std::string>> errors = {
        {},
        {"a.txt", "b.txt"},
        {"--bogus", "a.txt"},
        {"-x", "a.txt"},
        {"a.txt", "--frames"},
        {"--frames", "0", "a.txt"},
        {"--dance", "Cancan", "a.txt"},
        {"--output=", "a.txt"},
        {"--sheet", "", "a.txt"},
        {"--columns", "0", "a.txt"},
        {"--benchmark", "-5", "a.txt"},
        {"--benchmark", "lots", "a.txt"},
        {"--sheet", "s.png", "--frames", "1-65", "a.txt"},
        {"--help=yes", "a.txt"},
    };
    for (const auto& arguments : errors) {
        RenderOptions options;
        std::string problem;
        std::string joined;
        for (const std::string& argument : arguments) {
            joined += "[" + argument + "]";
        }
        EXPECT_FALSE(parse(arguments, options, problem)) << joined;
        EXPECT_FALSE(problem.empty()) << joined;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << joined;
    }
}

}  // namespace
}  // namespace vorel
