// writeFileBytes replaces a file only once every byte is written, and leaves no temporary
// behind whether it succeeds or fails.
#include "assets/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vorel {
namespace {

namespace fs = std::filesystem;

fs::path freshFolder(const std::string& name) {
    const fs::path folder = fs::path(testing::TempDir()) / ("file_bytes_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string contentOf(const fs::path& path) {
    std::string bytes;
    LoadError error;
    EXPECT_TRUE(readFileBytes(path.string(), bytes, &error)) << error.describe();
    return bytes;
}

TEST(WriteFileBytes, ReplacesAnOldFileAndLeavesOnlyTheNewOne) {
    const fs::path folder = freshFolder("replace");
    const fs::path path = folder / "out.bin";
    ASSERT_TRUE(writeFileBytes(path.string(), "old and longer"));
    ASSERT_TRUE(writeFileBytes(path.string(), std::string("n\0w", 3)));
    EXPECT_EQ(contentOf(path), std::string("n\0w", 3));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(WriteFileBytes, AUsersFileNamedLikeATemporaryIsNeverTouched) {
    const fs::path folder = freshFolder("user_partial");
    const fs::path path = folder / "out.glb";
    for (const char* suffix : {".partial", ".partial-1", ".tmp"}) {
        ASSERT_TRUE(writeFileBytes(path.string() + suffix, std::string("mine") + suffix));
    }
    ASSERT_TRUE(writeFileBytes(path.string(), "exported"));
    EXPECT_EQ(contentOf(path), "exported");
    for (const char* suffix : {".partial", ".partial-1", ".tmp"}) {
        EXPECT_EQ(contentOf(path.string() + suffix), std::string("mine") + suffix);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

TEST(WriteFileBytes, AFailedWriteKeepsWhatWasThereAndLeavesNoTemporary) {
    const fs::path folder = freshFolder("fail");
    // A non-empty folder where the file should go: the bytes are written, the rename fails.
    const fs::path blocked = folder / "blocked";
    fs::create_directories(blocked / "inside");
    EXPECT_FALSE(writeFileBytes(blocked.string(), "bytes"));
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_FALSE(writeFileBytes((folder / "missing" / "out.bin").string(), "bytes"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vorel
