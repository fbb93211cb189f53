// Broken FBX containers: each is refused with one line naming the file, never read past its
// end or looped over, and never allowed to allocate more than its bytes can justify.
#include <gtest/gtest.h>
#include <zlib.h>

#include "fbx/read_fbx.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel {
namespace {

using namespace test_support;

FbxNode smallTree() {
    FbxNode root;
    root.children.push_back(
        fbxNode("Objects", {},
                {fbxNode("Geometry", {fbxInteger(7), fbxText("Geometry::G")},
                         {fbxNode("Vertices", {fbxReals({0, 1, 2, 3, 4, 5, 6, 7, 8})})})}));
    return root;
}

::testing::AssertionResult refused(const std::string& bytes, const std::string& expected) {
    FbxDocument document;
    LoadError error;
    if (readFbx(bytes, "bad.fbx", document, error))
        return ::testing::AssertionFailure() << "accepted";
    const std::string line = error.describe();
    if (line.rfind("bad.fbx: ", 0) != 0 || line.find(expected) == std::string::npos)
        return ::testing::AssertionFailure() << "message: " << line;
    return ::testing::AssertionSuccess();
}

void putLittle(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST(FbxHostileContainer, EveryTruncationOfABinaryFileIsRefused) {
    for (int version : {7400, 7500}) {
        const std::string whole = writeFbxBinary(smallTree(), {version, true});
        for (std::size_t size = 0; size < whole.size(); ++size) {
            FbxDocument document;
            LoadError error;
            EXPECT_FALSE(readFbx(whole.substr(0, size), "bad.fbx", document, error))
                << version << " cut at " << size;
        }
    }
}

TEST(FbxHostileContainer, EndOffsetsPointingBackwardsOrPastTheParentAreRefused) {
    const std::string whole = writeFbxBinary(smallTree(), {7400, false});
    const std::size_t objects = 27;
    const std::size_t geometry = objects + 13 + 7;
    std::string backwards = whole;
    putLittle(backwards, geometry, geometry, 4);
    EXPECT_TRUE(refused(backwards, "points backwards"));
    std::string pastParent = whole;
    putLittle(pastParent, geometry, whole.size() + 100, 4);
    EXPECT_TRUE(refused(pastParent, "past its parent's end"));
    std::string pastFile = whole;
    putLittle(pastFile, objects, whole.size() + 1, 4);
    EXPECT_TRUE(refused(pastFile, "past its parent's end"));
}

TEST(FbxHostileContainer, NestingDeeperThanTheLimitIsRefusedInBothForms) {
    FbxNode deep = fbxNode("Leaf");
    for (int level = 0; level < MaxFbxNesting + 5; ++level) deep = fbxNode("N", {}, {deep});
    FbxNode root;
    root.children.push_back(deep);
    EXPECT_TRUE(refused(writeFbxBinary(root), "nest deeper than"));
    std::string text = "FBXHeaderExtension: {\n}\n";
    for (int level = 0; level < 100000; ++level) text += "N: {";
    EXPECT_TRUE(refused(text, "nest deeper than"));
}

TEST(FbxHostileContainer, ArrayLengthsTheBytesCannotHoldAreRefusedBeforeAllocating) {
    const int version = 7400;
    // Four billion doubles claimed raw in 8 bytes.
    std::string file = fbxBinaryHeader(version);
    std::string raw = std::string("d", 1);
    raw += std::string("\xff\xff\xff\xff\0\0\0\0\x08\0\0\0", 12) + std::string(8, '\0');
    file += fbxRecordBytes("V", 1, raw, "", file.size(), version) + std::string(13, '\0');
    EXPECT_TRUE(refused(file, "elements of 8 bytes in 8 bytes"));

    // An inflate bomb: a few bytes that claim four billion doubles.
    std::string zeros(1 << 20, '\0');
    uLongf packedSize = compressBound(static_cast<uLong>(zeros.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()), 9);
    packed.resize(packedSize);
    std::string bomb = fbxBinaryHeader(version);
    std::string deflated = "d";
    std::string counts(12, '\0');
    putLittle(counts, 0, 0xffffffffu, 4);
    putLittle(counts, 4, 1, 4);
    putLittle(counts, 8, packed.size(), 4);
    deflated += counts + packed;
    bomb += fbxRecordBytes("V", 1, deflated, "", bomb.size(), version) + std::string(13, '\0');
    EXPECT_TRUE(refused(bomb, "cannot come from"));
}

TEST(FbxHostileContainer, DeflatedArraysMustInflateToExactlyTheirDeclaredSize) {
    const int version = 7400;
    const std::string values(8 * 9, '\x01');
    uLongf packedSize = compressBound(static_cast<uLong>(values.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(values.data()), static_cast<uLong>(values.size()), 6);
    packed.resize(packedSize);
    for (std::uint32_t declared : {8u, 10u}) {
        std::string file = fbxBinaryHeader(version);
        std::string counts(12, '\0');
        putLittle(counts, 0, declared, 4);
        putLittle(counts, 4, 1, 4);
        putLittle(counts, 8, packed.size(), 4);
        file += fbxRecordBytes("V", 1, "d" + counts + packed, "", file.size(), version) +
                std::string(13, '\0');
        EXPECT_TRUE(
            refused(file, declared < 9 ? "inflates past" : "holds 72 bytes, not the 80 declared"))
            << declared;
    }
    std::string damaged = packed;
    damaged[damaged.size() / 2] ^= 0x55;
    damaged[2] ^= 0x7f;
    std::string file = fbxBinaryHeader(version);
    std::string counts(12, '\0');
    putLittle(counts, 0, 9, 4);
    putLittle(counts, 4, 1, 4);
    putLittle(counts, 8, damaged.size(), 4);
    file += fbxRecordBytes("V", 1, "d" + counts + damaged, "", file.size(), version) +
            std::string(13, '\0');
    FbxDocument document;
    LoadError error;
    EXPECT_FALSE(readFbx(file, "bad.fbx", document, error));
}

TEST(FbxHostileContainer, UnknownVersionsTypesAndAsciiMistakesGiveOneLine) {
    std::string file = writeFbxBinary(smallTree(), {7400, false});
    putLittle(file, 23, 6100, 4);
    EXPECT_TRUE(refused(file, "version 6100"));
    EXPECT_TRUE(refused(fbxBinaryHeader(7400) + fbxRecordBytes("P", 1, "Q", "", 27, 7400),
                        "unknown property type"));
    EXPECT_TRUE(refused("FBXHeaderExtension: {\n\tV: *3 {\n\t\ta: 1,2\n\t}\n}\n",
                        "line 4: array declares 3 elements and holds 2"));
    EXPECT_TRUE(refused("FBXHeaderExtension: {\n\tName: \"open\n}\n", "never closes"));
    EXPECT_TRUE(refused("FBXHeaderExtension: {\n\tV: 1.2.3\n}\n", "not a number"));
    EXPECT_TRUE(refused("FBXHeaderExtension: {\n", "never closes"));
    EXPECT_TRUE(refused("solid cube\n", "not an FBX file"));
    for (const char* version : {"7400000000", "-7400", "1e300"}) {
        EXPECT_TRUE(
            refused("FBXHeaderExtension: {\n\tFBXVersion: " + std::string(version) + "\n}\n",
                    "FBXVersion is not a version number"))
            << version;
    }
}

}  // namespace
}  // namespace vorel
