// The node tree read back from files the writer made: binary in every offset width, arrays raw
// and deflated, every property type, and the ASCII forms of 7.x and 6.1.
#include <gtest/gtest.h>

#include <cstring>

#include "fbx/read_fbx.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel {
namespace {

using namespace test_support;

FbxNode sampleTree() {
    FbxNode root;
    root.children.push_back(
        fbxNode("FBXHeaderExtension", {}, {fbxNode("FBXVersion", {fbxInteger(7400)})}));
    root.children.push_back(
        fbxNode("Objects", {},
                {fbxNode("Geometry",
                         {fbxInteger(1234567890123), fbxText("Geometry::Body"), fbxText("Mesh")},
                         {fbxNode("Vertices", {fbxReals({0.0, 1.5, -2.25, 1e-7, 3.0, 1e12})}),
                          fbxNode("PolygonVertexIndex", {fbxIntegers({0, 1, -3, 5000000000})}),
                          fbxNode("Empty", {fbxReals({})})}),
                 fbxNode("Model", {fbxInteger(-5), fbxReal(0.125), fbxInteger(3)})}));
    return root;
}

void expectSameTree(const FbxNode& read, const FbxNode& written) {
    ASSERT_EQ(read.name, written.name);
    ASSERT_EQ(read.properties.size(), written.properties.size()) << read.name;
    for (std::size_t p = 0; p < read.properties.size(); ++p) {
        const FbxProperty& a = read.properties[p];
        const FbxProperty& b = written.properties[p];
        EXPECT_EQ(a.integer, b.integer) << read.name << " property " << p;
        EXPECT_EQ(a.real, b.real) << read.name << " property " << p;
        EXPECT_EQ(a.text, b.text) << read.name << " property " << p;
        EXPECT_EQ(a.integers, b.integers) << read.name << " property " << p;
        EXPECT_EQ(a.reals, b.reals) << read.name << " property " << p;
    }
    ASSERT_EQ(read.children.size(), written.children.size()) << read.name;
    for (std::size_t c = 0; c < read.children.size(); ++c)
        expectSameTree(read.children[c], written.children[c]);
}

TEST(FbxContainer, BinaryFilesOfEveryOffsetWidthReadBackWithRawOrDeflatedArrays) {
    const FbxNode tree = sampleTree();
    for (int version : {7100, 7400, 7500, 7700}) {
        for (bool deflate : {false, true}) {
            const std::string bytes = writeFbxBinary(tree, {version, deflate});
            FbxDocument document;
            LoadError error;
            ASSERT_TRUE(readFbx(bytes, "a.fbx", document, error)) << error.describe();
            EXPECT_TRUE(document.binary);
            EXPECT_EQ(document.version, version);
            expectSameTree(document.root, tree);
        }
    }
}

TEST(FbxContainer, AsciiFilesReadBackAsTheSameTree) {
    // The ASCII form has no empty array of reals: an empty array reads as integers.
    FbxNode tree = sampleTree();
    tree.children[1].children[0].children[2].properties[0] = fbxIntegers({});
    FbxDocument document;
    LoadError error;
    const std::string text = writeFbxAscii(tree);
    ASSERT_TRUE(looksLikeFbx(text));
    ASSERT_TRUE(readFbx(text, "a.fbx", document, error)) << error.describe();
    EXPECT_FALSE(document.binary);
    EXPECT_EQ(document.version, 7400);
    expectSameTree(document.root, tree);
}

TEST(FbxContainer, SixOneValueListsRunOverLinesWithBareWordsAndComments) {
    const std::string text =
        "; FBX 6.1.0 project file\nFBXHeaderExtension:  {\n\tFBXVersion: 6100\n}\n"
        "Objects:  {\n\tModel: \"Model::Hips\", \"Limb\" {\n"
        "\t\tProperty: \"Lcl Translation\", \"Lcl Translation\", \"A+\",0,1.5,-2\n"
        "\t\tVertices: 1,2,3,\n4,5,6 ; a comment\n\t\tShading: Y\n\t}\n}\n";
    FbxDocument document;
    LoadError error;
    ASSERT_TRUE(readFbx(text, "old.fbx", document, error)) << error.describe();
    EXPECT_EQ(document.version, 6100);
    const FbxNode& model = document.root.children[1].children[0];
    EXPECT_EQ(model.properties[0].text, "Model::Hips");
    const FbxNode& property = model.children[0];
    ASSERT_EQ(property.properties.size(), 6u);
    EXPECT_EQ(property.properties[4].real, 1.5);
    EXPECT_EQ(property.properties[5].integer, -2);
    EXPECT_EQ(model.children[1].properties.size(), 6u);
    EXPECT_EQ(model.children[2].properties[0].text, "Y");
}

// A record holding one property of the given type byte and value bytes.
std::string oneProperty(const std::string& typeAndValue) {
    const int version = 7400;
    std::string file = fbxBinaryHeader(version);
    file += fbxRecordBytes("P", 1, typeAndValue, "", file.size(), version);
    return file + std::string(13, '\0');
}

TEST(FbxContainer, EveryBinaryPropertyTypeReadsAsItsValue) {
    struct Case {
        std::string bytes;
        double number;
    };
    float f = -2.5f;
    char fBytes[4];
    std::memcpy(fBytes, &f, 4);
    const Case cases[] = {
        {std::string("C\x01", 2), 1.0},
        {std::string("Y\xfe\xff", 3), -2.0},
        {std::string("I\xff\xff\xff\xff", 5), -1.0},
        {std::string("L\x02\0\0\0\0\0\0\0", 9), 2.0},
        {"F" + std::string(fBytes, 4), -2.5},
    };
    for (const Case& c : cases) {
        FbxDocument document;
        LoadError error;
        ASSERT_TRUE(readFbx(oneProperty(c.bytes), "p.fbx", document, error)) << error.describe();
        EXPECT_EQ(document.root.children[0].properties[0].number(), c.number) << c.bytes[0];
    }
    FbxDocument document;
    LoadError error;
    const std::string floats =
        std::string("f\x01\0\0\0\0\0\0\0\x04\0\0\0", 13) + std::string(fBytes, 4);
    ASSERT_TRUE(readFbx(oneProperty(floats), "p.fbx", document, error)) << error.describe();
    EXPECT_EQ(document.root.children[0].properties[0].reals, std::vector<double>{-2.5});
    const std::string bools = std::string("b\x03\0\0\0\0\0\0\0\x03\0\0\0\x01\0\x07", 16);
    ASSERT_TRUE(readFbx(oneProperty(bools), "p.fbx", document, error)) << error.describe();
    EXPECT_EQ(document.root.children[0].properties[0].integers,
              (std::vector<std::int64_t>{1, 0, 1}));
}

}  // namespace
}  // namespace vorel
