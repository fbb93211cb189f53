// Loading a manifest from its own folder: the load runs there, the caller's working directory
// is back afterwards whatever happened, and every message names files as the caller sees them.
#include "tools/common/library_beside_manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/box_set_folder.h"
#include "tools/common/run_in_manifest_folder.h"

namespace vorel {

using namespace test_support;
namespace {

namespace fs = std::filesystem;

class LibraryBesideManifest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(files.made());
        callerFolder = fs::canonical(fs::temp_directory_path());
        fs::current_path(callerFolder);
    }
    void TearDown() override {
        EXPECT_EQ(fs::current_path(), callerFolder);
        fs::current_path(startFolder);
    }

    const fs::path startFolder = fs::current_path();
    BoxSetFolder files;
    fs::path callerFolder;
};

TEST_F(LibraryBesideManifest, RunsTheLoadInsideTheFolderWithTheFileName) {
    std::string seenName;
    fs::path seenFolder;
    std::string problem;
    EXPECT_TRUE(runInManifestFolder(
        files.path("vorel.txt"),
        [&](const std::string& fileName) {
            seenName = fileName;
            seenFolder = fs::current_path();
        },
        problem));
    EXPECT_EQ(seenName, "vorel.txt");
    EXPECT_EQ(fs::canonical(seenFolder), fs::canonical(files.folder()));
    EXPECT_TRUE(problem.empty());
}

TEST_F(LibraryBesideManifest, AManifestWithoutAFolderLoadsWhereTheCallerStands) {
    std::string seenName;
    std::string problem;
    EXPECT_TRUE(runInManifestFolder(
        "vorel.txt", [&](const std::string& fileName) { seenName = fileName; }, problem));
    EXPECT_EQ(seenName, "vorel.txt");
}

TEST_F(LibraryBesideManifest, AFolderThatCannotBeEnteredRunsNothing) {
    bool ran = false;
    std::string problem;
    const std::string manifest = files.path("absent/vorel.txt");
    EXPECT_FALSE(runInManifestFolder(
        manifest, [&](const std::string&) { ran = true; }, problem));
    EXPECT_FALSE(ran);
    EXPECT_EQ(problem.rfind(manifest + ": cannot enter its folder: ", 0), 0u) << problem;
    EXPECT_EQ(loadLibraryBesideManifest(manifest, problem), nullptr);
    EXPECT_EQ(problem.rfind(manifest + ": cannot enter its folder: ", 0), 0u) << problem;
}

TEST_F(LibraryBesideManifest, LoadsTheFilesTheManifestNamesRelativeToItsFolder) {
    std::string problem;
    const std::unique_ptr<AssetLibrary> loaded =
        loadLibraryBesideManifest(files.path("vorel.txt"), problem);
    ASSERT_NE(loaded, nullptr) << problem;
    EXPECT_TRUE(problem.empty());
    EXPECT_EQ(loaded->modelNames.at(0), "box");
    EXPECT_NE(loaded->findAnimation("Cancan"), nullptr);
}

TEST_F(LibraryBesideManifest, NamesAFailingFileAsTheCallerSeesIt) {
    files.writeFile("broken.txt", "1\nbox\nmissing.ply\n0\n");
    const fs::path relativeFolder = fs::canonical(files.folder()).lexically_relative(callerFolder);
    ASSERT_FALSE(relativeFolder.empty());
    std::string problem;
    EXPECT_EQ(loadLibraryBesideManifest((relativeFolder / "broken.txt").string(), problem),
              nullptr);
    EXPECT_EQ(problem.rfind((relativeFolder / "missing.ply").string() + ": ", 0), 0u) << problem;
    // An absolute name is left as the loader gave it.
    files.writeFile("absolute.txt", "1\nbox\n" + files.path("gone.ply") + "\n0\n");
    EXPECT_EQ(loadLibraryBesideManifest(files.path("absolute.txt"), problem), nullptr);
    EXPECT_EQ(problem.rfind(files.path("gone.ply") + ": ", 0), 0u) << problem;
}

}  // namespace
}  // namespace vorel
