// Lying, truncated and broken glTF documents: each import fails with one line naming where
// (a JSON pointer or a byte offset) and what is wrong, and never crashes or over-allocates.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"
#include "tests/support/program_runner.h"

namespace vorel::test_support {
namespace {

void setFloat(tinygltf::Model& model, int accessor, std::size_t index, float value) {
    std::memcpy(accessorBytes(model, accessor) + 4 * index, &value, 4);
}

int bodyAttribute(ArmCharacter& arm, const char* name) {
    return arm.builder.model().meshes[0].primitives[0].attributes.at(name);
}

int waveSamplerInput(ArmCharacter& arm, int sampler) {
    return arm.builder.model().animations[0].samplers[static_cast<std::size_t>(sampler)].input;
}

struct BrokenCase {
    const char* what;
    std::function<void(ArmCharacter&)> breakIt;
    // Words the one-line description must hold.
    std::vector<std::string> expected;
};

TEST(ImportBadInput, BrokenArmDocumentsFailNamingThePlaceAndTheFault) {
    const std::vector<BrokenCase> cases = {
        {"accessor count past its view",
         [](ArmCharacter& arm) {
             arm.builder.model()
                 .accessors[static_cast<std::size_t>(bodyAttribute(arm, "POSITION"))]
                 .count += 1;
         },
         {"/accessors/", "runs past the end of its buffer view"}},
        {"buffer view past its buffer",
         [](ArmCharacter& arm) { arm.builder.model().bufferViews[0].byteLength += 4096; },
         {"/bufferViews/0", "run past the end"}},
        {"joint index past the skin",
         [](ArmCharacter& arm) {
             accessorBytes(arm.builder.model(), bodyAttribute(arm, "JOINTS_0"))[0] = 3;
         },
         {"/accessors/", "joint 3 past the skin's 3 joints"}},
        {"index past the vertices",
         [](ArmCharacter& arm) {
             tinygltf::Model& model = arm.builder.model();
             accessorBytes(model, model.meshes[0].primitives[0].indices)[0] = 200;
         },
         {"/accessors/", "past the 24 vertices"}},
        {"skin without its joints",
         [](ArmCharacter& arm) { arm.builder.model().skins[0].joints.clear(); },
         {"a required property is missing"}},
        {"skin joint out of range",
         [](ArmCharacter& arm) { arm.builder.model().skins[0].joints[1] = 99; },
         {"/skins/0/joints", "out of range"}},
        {"cyclic node graph",
         [](ArmCharacter& arm) {
             arm.builder.model().nodes[static_cast<std::size_t>(arm.hand)].children.push_back(
                 arm.hips);
         },
         {"/nodes/", "two parents"}},
        {"long cycle outside the scene",
         [](ArmCharacter& arm) {
             tinygltf::Model& model = arm.builder.model();
             const int a = arm.builder.addNode("a", arm.hand);
             model.nodes[static_cast<std::size_t>(arm.hand)].children.clear();
             const int b = arm.builder.addNode("b", a);
             model.nodes[static_cast<std::size_t>(b)].children.push_back(a);
         },
         {"/nodes/", "cycle"}},
        {"decreasing animation input",
         [](ArmCharacter& arm) {
             setFloat(arm.builder.model(), waveSamplerInput(arm, 0), 2, 0.25f);
         },
         {"/accessors/", "decreases or repeats at key 2"}},
        {"NaN in positions",
         [](ArmCharacter& arm) {
             setFloat(arm.builder.model(), bodyAttribute(arm, "POSITION"), 4, std::nanf(""));
         },
         {"/accessors/", "element 1 is not a finite number"}},
        {"infinite key time",
         [](ArmCharacter& arm) {
             setFloat(arm.builder.model(), waveSamplerInput(arm, 1), 1,
                      std::numeric_limits<float>::infinity());
         },
         {"/accessors/", "element 1 is not a finite number"}},
        {"NaN in key values",
         [](ArmCharacter& arm) {
             tinygltf::Model& model = arm.builder.model();
             setFloat(model, model.animations[0].samplers[3].output, 5, std::nanf(""));
         },
         {"/accessors/", "not a finite number"}},
        {"output count not matching the keys",
         [](ArmCharacter& arm) {
             tinygltf::Model& model = arm.builder.model();
             model.accessors[static_cast<std::size_t>(model.animations[0].samplers[3].output)]
                 .count = 2;
         },
         {"/accessors/", "does not match the input's 3 keys"}},
        {"singular inverse bind matrix",
         [](ArmCharacter& arm) {
             tinygltf::Model& model = arm.builder.model();
             for (std::size_t k = 0; k < 16; ++k)
                 setFloat(model, model.skins[0].inverseBindMatrices, 16 + k, 0.0f);
         },
         {"/skins/0", "inverse bind matrix 1 is singular"}},
        {"no mesh at all",
         [](ArmCharacter& arm) {
             for (tinygltf::Node& node : arm.builder.model().nodes) node.mesh = -1;
         },
         {"/meshes", "no triangle mesh"}},
    };
    for (const BrokenCase& broken : cases) {
        for (bool binary : {true, false}) {
            ArmCharacter arm = makeArmCharacter();
            broken.breakIt(arm);
            const std::string bytes = binary ? arm.builder.glb() : arm.builder.json();
            ImportedSet result;
            LoadError error;
            EXPECT_FALSE(importWithoutFit(bytes, result, error, binary ? "arm.glb" : "arm.gltf"))
                << broken.what;
            const std::string line = error.describe();
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
            EXPECT_EQ(line.rfind(binary ? "arm.glb: " : "arm.gltf: ", 0), 0u) << line;
            for (const std::string& word : broken.expected) {
                EXPECT_NE(line.find(word), std::string::npos) << broken.what << ": " << line;
            }
        }
    }
}

TEST(ImportBadInput, ATruncatedGlbFailsAtEveryLengthWithItsByteOffset) {
    const std::string bytes = makeArmCharacter().builder.glb();
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(importWithoutFit(bytes.substr(0, length), result, error)) << length;
        EXPECT_FALSE(error.message.empty()) << length;
    }
    // A header announcing more bytes than there are is caught at the length field.
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importWithoutFit(bytes.substr(0, bytes.size() - 1), result, error));
    EXPECT_NE(error.describe().find("offset 8"), std::string::npos) << error.describe();
}

TEST(ImportBadInput, AChunkLengthPastTheEndNamesTheChunk) {
    std::string bytes = makeArmCharacter().builder.glb();
    // The binary chunk's length, after the JSON chunk.
    std::uint32_t jsonLength = 0;
    std::memcpy(&jsonLength, bytes.data() + 12, 4);
    const std::size_t binaryChunk = 20 + jsonLength;
    const std::uint32_t tooLong = static_cast<std::uint32_t>(bytes.size());
    std::memcpy(&bytes[binaryChunk], &tooLong, 4);
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importWithoutFit(bytes, result, error));
    EXPECT_NE(error.describe().find("offset " + std::to_string(binaryChunk)), std::string::npos)
        << error.describe();
    EXPECT_NE(error.describe().find("chunk length"), std::string::npos) << error.describe();
}

TEST(ImportBadInput, AMissingExternalBufferFailsNamingIt) {
    ArmCharacter arm = makeArmCharacter();
    const std::string folder = makeScratchFolder();
    writeBytes(folder + "/arm.gltf", arm.builder.jsonWithExternalBuffer("arm.bin"));
    ImportedSet result;
    LoadError error;
    ImportOptions options;
    EXPECT_FALSE(importGltf(folder + "/arm.gltf", options, result, error));
    EXPECT_NE(error.describe().find("arm.bin"), std::string::npos) << error.describe();
    EXPECT_EQ(error.describe().find('\n'), std::string::npos) << error.describe();
}

TEST(ImportBadInput, BytesInMemoryNeverReachForAFile) {
    ArmCharacter arm = makeArmCharacter();
    const std::string folder = makeScratchFolder();
    writeBytes(folder + "/arm.bin", arm.builder.bufferBytes());
    // Even with the buffer's file in the working folder, or named by its full path.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (const std::string& uri : {std::string("arm.bin"), folder + "/arm.bin"}) {
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(
            importWithoutFit(arm.builder.jsonWithExternalBuffer(uri), result, error, "arm.gltf"))
            << uri;
        EXPECT_NE(error.describe().find("external files are not read"), std::string::npos)
            << error.describe();
    }
    std::filesystem::current_path(before);
}

TEST(ImportBadInput, AnExternalBufferThatIsNotARegularFileIsRefusedWithoutBlocking) {
    ArmCharacter arm = makeArmCharacter();
    const std::string folder = makeScratchFolder();
    // A named pipe would block whoever opens it until someone writes.
    std::filesystem::create_directory(folder + "/folder.bin");
    ASSERT_EQ(mkfifo((folder + "/pipe.bin").c_str(), 0600), 0);
    for (const char* uri : {"folder.bin", "pipe.bin"}) {
        writeBytes(folder + "/arm.gltf", arm.builder.jsonWithExternalBuffer(uri));
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(importGltf(folder + "/arm.gltf", ImportOptions{}, result, error)) << uri;
        EXPECT_NE(error.describe().find("not a regular file"), std::string::npos)
            << error.describe();
    }
}

TEST(ImportBadInput, AnExternalBufferBesideTheFileIsRead) {
    ArmCharacter arm = makeArmCharacter();
    const std::string folder = makeScratchFolder();
    writeBytes(folder + "/arm.bin", arm.builder.bufferBytes());
    writeBytes(folder + "/arm.gltf", arm.builder.jsonWithExternalBuffer("arm.bin"));
    ImportedSet result;
    LoadError error;
    EXPECT_TRUE(importGltf(folder + "/arm.gltf", ImportOptions{}, result, error))
        << error.describe();
    EXPECT_EQ(result.boneCount, 3u);
}

TEST(ImportBadInput, AFileWithoutSkinImportsAsOneStaticBoneAndSaysSo) {
    ArmCharacter arm = makeArmCharacter();
    tinygltf::Model& model = arm.builder.model();
    model.nodes[static_cast<std::size_t>(arm.body)].skin = -1;
    model.skins.clear();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    EXPECT_TRUE(result.staticBone);
    EXPECT_EQ(result.boneCount, 1u);
    EXPECT_TRUE(result.animations.empty());
    std::string warnings;
    for (const std::string& warning : result.warnings) warnings += warning + "\n";
    EXPECT_NE(warnings.find("no skin: imported as one static bone"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("2 animations skipped"), std::string::npos) << warnings;
    // The one bone moves no vertex, so every vertex keeps its bind position.
    EXPECT_EQ(result.model->rootBone->name, "root");
    EXPECT_TRUE(result.model->rootBone->vertices.empty());
    EXPECT_EQ(result.model->rootBone->firstChild, nullptr);
}

}  // namespace
}  // namespace vorel::test_support
