// vorel-inspect on models with weighted vertices: the summary counts blended vertices and the
// largest influence count, check takes sound weights without warnings and refuses bad ones in
// one line naming the vertex.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "assets/save_model.h"
#include "tests/inspect/inspect_runner.h"
#include "tests/inspect/test_assets.h"
#include "tests/support/sample_assets.h"

namespace vorel {
namespace {

using test_support::makeSampleWeightedModel;

TEST(InspectWeighted, SummaryCountsBlendedVerticesAndTheLargestInfluenceCount) {
    const std::string path =
        writeModel(makeScratchFolder(), "weighted.ply", *makeSampleWeightedModel());
    const RunResult run = runInspect({path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(path + ": model, version 3\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  blended vertices 2  largest influence count 3\n"),
              std::string::npos)
        << run.out;
}

TEST(InspectWeighted, CheckTakesWeightedVerticesAsMovedAndWarnsNothing) {
    const std::string path =
        writeModel(makeScratchFolder(), "weighted.ply", *makeSampleWeightedModel());
    const RunResult run = runInspect({"check", path});
    EXPECT_EQ(run.status, 0) << run.out;
    // The sample's one warning is its deliberately short normal; no vertex is unowned.
    EXPECT_EQ(run.out, path +
                           ": warning: 1 normal is far from unit length (first: 2, length "
                           "0.707106781)\n");
}

TEST(InspectWeighted, CheckRefusesBadWeightsInOneLineNamingTheVertex) {
    const std::string folder = makeScratchFolder();
    const std::string bytes = encodeModel(*makeSampleWeightedModel());
    // The last record is vertex 5's: three (bone, weight) pairs at the end of the file.
    const std::size_t lastWeight = bytes.size() - 4;
    const std::size_t lastBone = lastWeight - 4;
    const auto withField = [&bytes](std::size_t offset, const void* value) {
        std::string changed = bytes;
        changed.replace(offset, 4, static_cast<const char*>(value), 4);
        return changed;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float negative = -0.25f;
    const std::int32_t pastTheBones = 4;
    const struct {
        const char* name;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"nan.ply", withField(lastWeight, &nan), "influence 2 weight nan is not finite"},
        {"negative.ply", withField(lastWeight, &negative), "influence 2 weight -0.25 is negative"},
        {"bone.ply", withField(lastBone, &pastTheBones),
         "influence 2 names bone 4, outside [0, 4)"},
    };
    std::vector<std::string> paths;
    for (const auto& c : cases) {
        paths.push_back(folder + "/" + c.name);
        writeBytes(paths.back(), c.bytes);
    }
    const RunResult run = runInspect({"check", paths[0], paths[1], paths[2]});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].rfind(paths[i] + ": offset ", 0), 0u) << lines[i];
        const std::string ending = std::string(": vertex 5: ") + cases[i].problem;
        ASSERT_GE(lines[i].size(), ending.size());
        EXPECT_EQ(lines[i].substr(lines[i].size() - ending.size()), ending) << lines[i];
    }
}

}  // namespace
}  // namespace vorel
