// The start-up checks: every manifest the figure cannot be built from is refused with one
// line naming the file; a sound one passes with its library.
#include "app/startup_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/box_set_folder.h"

namespace vorel {

using namespace test_support;
namespace {

class StartupLibrary : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(files.made()); }

    std::string path(const std::string& name) const { return files.path(name); }
    void writeFile(const std::string& name, const std::string& bytes) const {
        files.writeFile(name, bytes);
    }
    // Loads and expects a refusal whose single line starts with the named file.
    void expectRefused(const std::string& manifest, const std::string& namedFile,
                       const std::string& reasonPart) const {
        std::string problem;
        EXPECT_EQ(loadStartupLibrary(path(manifest), problem), nullptr);
        EXPECT_EQ(problem.rfind(namedFile, 0), 0u) << problem;
        EXPECT_NE(problem.find(reasonPart), std::string::npos) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    }

    BoxSetFolder files;
};

TEST_F(StartupLibrary, ASoundManifestYieldsItsLibrary) {
    // The manifest's paths are relative to the working directory, as in the viewer.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(files.folder());
    std::string problem;
    std::unique_ptr<AssetLibrary> loaded = loadStartupLibrary("vorel.txt", problem);
    std::filesystem::current_path(previous);
    ASSERT_NE(loaded, nullptr) << problem;
    EXPECT_TRUE(problem.empty());
    EXPECT_EQ(loaded->modelNames.size(), 1u);
    EXPECT_EQ(loaded->animationNames.at(0), "Cancan");
}

TEST_F(StartupLibrary, RefusesEveryManifestAFigureCannotBeBuiltFrom) {
    expectRefused("missing.txt", path("missing.txt"), "cannot be opened");

    writeFile("no-model.txt", "0\n1\nCancan\n" + path("slide.anim") + "\n");
    expectRefused("no-model.txt", path("no-model.txt"), "no model");

    writeFile("empty.txt", "");
    expectRefused("empty.txt", path("empty.txt"), "");

    writeFile("short.txt", "1\nbox\n");
    expectRefused("short.txt", path("short.txt"), "");
}

TEST_F(StartupLibrary, NamesTheFileThatFailedToLoadWithItsOffset) {
    // A model file that is "PLY" with version 4: the loader stops at byte 3.
    writeFile("bad.ply", std::string("PLY\x04\x00\x00\x00", 7));
    writeFile("corrupt-model.txt", "1\nbox\n" + path("bad.ply") + "\n0\n");
    expectRefused("corrupt-model.txt", path("bad.ply"), "offset 3");

    writeFile("bad.anim", "not an animation");
    writeFile("corrupt-animation.txt",
              "1\nbox\n" + path("box.ply") + "\n1\nCancan\n" + path("bad.anim") + "\n");
    expectRefused("corrupt-animation.txt", path("bad.anim"), "offset 0");

    writeFile("absent-file.txt", "1\nbox\n" + path("absent.ply") + "\n0\n");
    expectRefused("absent-file.txt", path("absent.ply"), "");
}

}  // namespace
}  // namespace vorel
