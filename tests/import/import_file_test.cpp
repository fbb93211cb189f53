// Importing one file by its content: a BVH capture or an FBX file whatever its name, glTF
// otherwise, and one line naming the file when it cannot be read or used.
#include "import/import_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/box_set_folder.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"
#include "tests/support/gltf_test_character.h"

namespace vorel {

using namespace test_support;
namespace {

const char* const TwoJointCapture =
    "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition "
    "Zrotation Xrotation Yrotation\n JOINT Chest\n {\n  OFFSET 0 10 0\n  CHANNELS 3 Zrotation "
    "Xrotation Yrotation\n  End Site\n  {\n   OFFSET 0 10 0\n  }\n }\n}\nMOTION\nFrames: 2\n"
    "Frame Time: 0.5\n0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 45 0 0\n";

class ImportFile : public ::testing::Test {
  protected:
    // Reads and imports the file NAME of the scratch folder holding BYTES.
    bool import(const std::string& name, const std::string& bytes) {
        folder.writeFile(name, bytes);
        input = ImportInput();
        imported = ImportedSet();
        error = LoadError();
        return readImportInput(folder.path(name), input, error) &&
               importInput(input, ImportOptions(), imported, capture, error);
    }

    BoxSetFolder folder;
    ImportInput input;
    ImportedSet imported;
    BvhImportSummary capture;
    LoadError error;
};

TEST_F(ImportFile, TellsACaptureFromGltfByContentNotByName) {
    ASSERT_TRUE(import("capture.glb", TwoJointCapture)) << error.describe();
    EXPECT_TRUE(input.isCapture);
    EXPECT_EQ(capture.frameCount, 2);
    EXPECT_EQ(imported.animations.size(), 1u);

    ASSERT_TRUE(import("arm.bvh", makeArmCharacter().builder.glb())) << error.describe();
    EXPECT_FALSE(input.isCapture);
    EXPECT_EQ(imported.animations.size(), 2u);
}

TEST_F(ImportFile, TellsFbxFilesOfEitherFormByContentNotByName) {
    FbxCharacterLayout layout = armCharacterLayout();
    ASSERT_TRUE(import("arm.glb", writeFbxBinary(buildFbxCharacter(layout)))) << error.describe();
    EXPECT_TRUE(input.isFbx);
    EXPECT_FALSE(input.isCapture);
    EXPECT_EQ(imported.boneCount, 3u);
    ASSERT_EQ(imported.animations.size(), 1u);
    EXPECT_EQ(imported.animations[0].name, "Bend");

    layout.binaryNames = false;
    ASSERT_TRUE(import("arm.bvh", writeFbxAscii(buildFbxCharacter(layout)))) << error.describe();
    EXPECT_TRUE(input.isFbx);
    EXPECT_EQ(imported.boneCount, 3u);

    EXPECT_FALSE(import("cut.fbx", writeFbxBinary(buildFbxCharacter(layout)).substr(0, 100)));
    EXPECT_EQ(error.describe().rfind(folder.path("cut.fbx") + ": offset ", 0), 0u)
        << error.describe();
}

TEST_F(ImportFile, NamesTheFileItCannotReadOrUseInOneLine) {
    const std::string missing = folder.path("missing.glb");
    ImportInput unread;
    EXPECT_FALSE(readImportInput(missing, unread, error));
    EXPECT_EQ(error.describe().rfind(missing + ": ", 0), 0u) << error.describe();

    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"empty.glb", ""},
                                      {"short.bvh", "HIERARCHY\nROOT Hips\n{\n"},
                                      {"text.gltf", "{\"asset\": "}}) {
        EXPECT_FALSE(import(name, bytes)) << name;
        const std::string line = error.describe();
        EXPECT_EQ(line.rfind(folder.path(name) + ": ", 0), 0u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace vorel
