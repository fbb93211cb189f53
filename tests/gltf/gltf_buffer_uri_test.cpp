// External buffer URIs: a document may name files beside it or below it, never a file
// elsewhere on the machine (by "..", an absolute path, a file: URI, percent escapes), nor
// one whose name a NUL byte would cut short; the refusal says nothing about other files.
#include "gltf/gltf_buffer_uri.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gltf/import_gltf.h"
#include "tests/support/gltf_test_character.h"
#include "tests/support/program_runner.h"

namespace vorel::test_support {
namespace {

TEST(GltfBufferUri, RelativePathsInsideTheFolderAndDataUrisAreAccepted) {
    for (const char* uri : {"arm.bin", "./arm.bin", "sub/arm.bin", "sub/../arm.bin", "a%20b.bin",
                            "data:application/octet-stream;base64,AAAA"}) {
        EXPECT_EQ(bufferUriProblem(uri), "") << uri;
    }
}

TEST(GltfBufferUri, PathsLeavingTheFolderAreRefused) {
    const std::string passwd = [] {
        std::string climb;
        for (int i = 0; i < 30; ++i) climb += "../";
        return climb + "etc/passwd";
    }();
    for (const std::string& uri :
         {passwd, std::string("../arm.bin"), std::string("sub/../../arm.bin"),
          std::string("%2e%2e/arm.bin"), std::string("sub\\..\\..\\arm.bin")}) {
        EXPECT_EQ(bufferUriProblem(uri), "URI leads outside the document's folder") << uri;
    }
    for (const char* uri : {"/etc/passwd", "%2Fetc/passwd", "\\\\server\\share\\a.bin"}) {
        EXPECT_EQ(bufferUriProblem(uri), "URI is not a relative path inside the document's folder")
            << uri;
    }
    for (const char* uri : {"file:///etc/passwd", "http://example.com/a.bin", "C:/a.bin"}) {
        EXPECT_NE(bufferUriProblem(uri).find("scheme"), std::string::npos) << uri;
    }
    EXPECT_EQ(bufferUriProblem(std::string("arm.bin\0.txt", 12)), "URI holds a control character");
    EXPECT_EQ(bufferUriProblem("arm.bin%00.txt"), "URI holds a control character");
}

TEST(GltfBufferUri, AnImportNeverOpensAFileOutsideTheDocumentsFolder) {
    const ArmCharacter arm = makeArmCharacter();
    const std::string folder = makeScratchFolder();
    std::filesystem::create_directory(folder + "/sent");
    // The buffer exists just outside, so only the URI check can refuse it.
    writeBytes(folder + "/arm.bin", arm.builder.bufferBytes());
    writeBytes(folder + "/sent/arm.bin", arm.builder.bufferBytes());
    for (const std::string& uri :
         {std::string("../arm.bin"), folder + "/arm.bin", "file://" + folder + "/arm.bin"}) {
        writeBytes(folder + "/sent/arm.gltf", arm.builder.jsonWithExternalBuffer(uri));
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(importGltf(folder + "/sent/arm.gltf", ImportOptions{}, result, error)) << uri;
        const std::string line = error.describe();
        EXPECT_EQ(line.rfind(folder + "/sent/arm.gltf: /buffers/0/uri: URI ", 0), 0u) << line;
        EXPECT_EQ(line.find(folder + "/arm.bin"), std::string::npos) << line;
    }
    writeBytes(folder + "/sent/arm.gltf",
               arm.builder.jsonWithExternalBuffer(std::string("arm.bin\0.txt", 12)));
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importGltf(folder + "/sent/arm.gltf", ImportOptions{}, result, error));
    EXPECT_NE(error.describe().find("control character"), std::string::npos) << error.describe();
}

}  // namespace
}  // namespace vorel::test_support
