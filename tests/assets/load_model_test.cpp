// loadModel: header and count checks, section contents, normal lists, bone pre-order, rest
// matrices, lookups, and the range checks that keep hostile indices out of every buffer.
#include "assets/load_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "assets/save_model.h"
#include "math/hash_name.h"
#include "tests/support/byte_fixture.h"
#include "tests/support/near.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

// A complete one-face, one-bone model written out by hand, byte for byte.
const std::string HandModel = fromHex(
    "50 4C 59  02 00 00 00"            // "PLY", version 2
    "01 00 00 00"                      // one material
    "00 80 FF  44 33 22 11  FF 00 80"  // colours and the scalar field
    "01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00"
    "05 00 00 00 06 00 00 00 07 00 00 00 08 00 00 00"
    "01 00 00 00  61 62 00  34 12  78 56"  // named record "ab", 0x1234, 0x5678
    "02 00 00 00  00 00 80 3F 00 00 00 40 00 00 40 40  00 00 00 00 00 00 00 00 00 00 00 00"
    "01 00 00 00  00 00 00 00 00 00 00 00 00 00 80 3F"  // one normal (0, 0, 1)
    "01 00 00 00  EF BE AD DE"                          // one face, its leading word
    "00 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00"   // positions 0 1 1 0
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"   // normals 0 0 0 0
    "01 00 00 00"                                       // one layer
    "0A 00 00 00 0B 00 00 00 0C 00 00 00 0D 00 00 00  07 08"
    "00 00 00 3F 00 00 80 3E  00 00 80 3F 00 00 80 3F"  // (0.5, 0.25) (1, 1)
    "00 00 00 00 00 00 00 00  00 00 40 3F 00 00 00 3F"  // (0, 0) (0.75, 0.5)
    "00 00  72 6F 6F 74 00"                             // bone flags, "root"
    "00 00 00 00 00 00 00 00 00 00 00 00"               // head (0, 0, 0)
    "00 00 00 00 00 00 00 00 00 00 80 3F"               // tail (0, 0, 1)
    "00 00 00 00 00 00 80 3F 00 00 00 00"               // up (0, 1, 0)
    "02 00 00 00  01 00 00 00 00 00 00 00"              // vertices 1, 0
    "FF FF");                                           // never read

// Offsets of fields inside HandModel, for tests that patch them.
constexpr std::size_t VersionOffset = 3;
constexpr std::size_t MaterialCountOffset = 7;
constexpr std::size_t NamedCountOffset = 53;
constexpr std::size_t PositionCountOffset = 64;
constexpr std::size_t NormalCountOffset = 92;
constexpr std::size_t FaceCountOffset = 108;
constexpr std::size_t FirstPositionIndexOffset = 116;
constexpr std::size_t FirstNormalIndexOffset = 132;
constexpr std::size_t LayerCountOffset = 148;
constexpr std::size_t LayerBytes = 50;
constexpr std::size_t BonesOffset = 202;
constexpr std::size_t RootNameOffset = 204;
constexpr std::size_t BoneVertexOffset = 245;

std::string withInt32(std::string bytes, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] =
            static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::unique_ptr<ModelData> loadModelBytes(const std::string& bytes, LoadError* error = nullptr) {
    return loadModelFromBytes(bytes, "test.ply", error);
}

std::unique_ptr<ModelData> reload(const ModelData& model) {
    LoadError error;
    auto loaded = loadModelBytes(encodeModel(model), &error);
    EXPECT_NE(loaded, nullptr) << error.describe();
    return loaded;
}

TEST(LoadModelHeader, HandAssembledFileLoads) {
    LoadError error;
    auto model = loadModelBytes(HandModel, &error);
    ASSERT_NE(model, nullptr) << error.describe();
    EXPECT_EQ(0, std::memcmp(model->header->magic, "PLY", 4));
    EXPECT_EQ(2, model->header->version);
}

TEST(LoadModelHeader, RejectsBadMagicAndVersions) {
    std::string lowerCase = HandModel;
    lowerCase.replace(0, 3, "ply");
    LoadError error;
    EXPECT_EQ(loadModelBytes(lowerCase, &error), nullptr);
    EXPECT_EQ(0, error.offset);
    EXPECT_EQ("header", error.section);
    for (std::int32_t version : {1, 4, 0, -2}) {
        EXPECT_EQ(loadModelBytes(withInt32(HandModel, VersionOffset, version), &error), nullptr);
        EXPECT_EQ(static_cast<std::int64_t>(VersionOffset), error.offset);
        EXPECT_NE(std::string::npos, error.message.find(std::to_string(version)));
    }
}

TEST(LoadModelHeader, CountsBelowTheirMinimumFail) {
    const struct {
        std::size_t offset;
        std::int32_t value;
    } cases[] = {{MaterialCountOffset, 0}, {MaterialCountOffset, -1}, {NamedCountOffset, -1},
                 {PositionCountOffset, 0}, {NormalCountOffset, 0},    {FaceCountOffset, 0},
                 {FaceCountOffset, -5}};
    for (const auto& bad : cases) {
        LoadError error;
        EXPECT_EQ(loadModelBytes(withInt32(HandModel, bad.offset, bad.value), &error), nullptr)
            << "count at " << bad.offset;
        EXPECT_EQ(static_cast<std::int64_t>(bad.offset), error.offset);
    }
}

TEST(LoadModelHeader, ZeroNamedRecordsIsAnEmptyList) {
    auto sample = makeSampleModel();
    sample->namedRecords.clear();
    auto model = reload(*sample);
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->namedRecords.empty());
}

TEST(LoadModelHeader, LyingCountsFailBeforeAllocating) {
    // 20 bytes that claim two billion materials, then faces past a short position list.
    const std::string tiny =
        fromHex("50 4C 59 02 00 00 00  00 94 35 77  00 00 00 00 00 00 00 00 00");
    LoadError error;
    EXPECT_EQ(loadModelBytes(tiny, &error), nullptr);
    EXPECT_EQ(static_cast<std::int64_t>(MaterialCountOffset), error.offset);
    EXPECT_NE(std::string::npos, error.message.find("2000000000"));
    EXPECT_EQ(loadModelBytes(withInt32(HandModel, FaceCountOffset, 2000000000), &error), nullptr);
    EXPECT_EQ(loadModelBytes(withInt32(HandModel, PositionCountOffset, 0x7FFFFFFF), &error),
              nullptr);
}

TEST(LoadModelHeader, MissingFileFailsWithAReason) {
    LoadError error;
    EXPECT_EQ(loadModel("/nonexistent/dir/model.ply", &error), nullptr);
    EXPECT_EQ("/nonexistent/dir/model.ply", error.file);
    EXPECT_NE(std::string::npos, error.message.find("cannot be opened"));
    EXPECT_EQ(loadModel("/", &error), nullptr);
}

TEST(LoadModelSections, ColourBytesScalarsAndFieldsAreKept) {
    auto model = loadModelBytes(HandModel);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(1u, model->materials.size());
    const MaterialRecord& material = model->materials[0];
    EXPECT_EQ(0.0f, material.firstColour[0]);
    EXPECT_EQ(static_cast<float>(128 / 255.0), material.firstColour[1]);
    EXPECT_EQ(1.0f, material.firstColour[2]);
    EXPECT_EQ(0x11223344u, material.firstScalar);
    EXPECT_EQ(1.0f, material.secondColour[0]);
    EXPECT_EQ(0.0f, material.secondColour[1]);
    EXPECT_EQ(static_cast<float>(128 / 255.0), material.secondColour[2]);
    for (std::uint32_t i = 0; i < 8; ++i) EXPECT_EQ(i + 1, material.fields[i]);
}

TEST(LoadModelSections, NamedRecordsPositionsAndNormals) {
    auto model = loadModelBytes(HandModel);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(1u, model->namedRecords.size());
    EXPECT_EQ("ab", model->namedRecords[0].name);
    EXPECT_EQ(0x1234, model->namedRecords[0].values[0]);
    EXPECT_EQ(0x5678, model->namedRecords[0].values[1]);
    ASSERT_EQ(2u, model->positions.size());
    EXPECT_EQ(Vector3(1, 2, 3), model->positions[0]);
    EXPECT_EQ(Vector3(0, 0, 0), model->positions[1]);
    ASSERT_EQ(1u, model->normals.size());
    EXPECT_EQ(Vector3(0, 0, 1), model->normals[0]);
}

TEST(LoadModelSections, FacesAndLayersWithFlippedV) {
    auto model = loadModelBytes(HandModel);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(1u, model->faces.size());
    const Face& face = model->faces[0];
    EXPECT_EQ(0xDEADBEEFu, face.leadingWord);
    const std::int32_t positions[4] = {0, 1, 1, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(positions[k], face.positionIndices[k]);
        EXPECT_EQ(0, face.normalIndices[k]);
    }
    ASSERT_EQ(1u, face.layers.size());
    const FaceLayer& layer = face.layers[0];
    for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(10 + i, layer.fields[i]);
    EXPECT_EQ(7, layer.bytes[0]);
    EXPECT_EQ(8, layer.bytes[1]);
    const float expected[8] = {0.5f, 0.75f, 1.0f, 0.0f, 0.0f, 1.0f, 0.75f, 0.5f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], layer.texCoords[i]) << "coordinate " << i;
}

TEST(LoadModelSections, NonPositiveLayerCountMeansNoLayers) {
    for (std::int32_t count : {0, -3}) {
        const std::string withoutLayer = HandModel.substr(0, LayerCountOffset + 4) +
                                         HandModel.substr(LayerCountOffset + 4 + LayerBytes);
        auto model = loadModelBytes(withInt32(withoutLayer, LayerCountOffset, count));
        ASSERT_NE(model, nullptr) << count;
        EXPECT_TRUE(model->faces[0].layers.empty());
    }
}

TEST(LoadModelNormalLists, FollowFaceAndCornerOrderWithRepeats) {
    auto sample = makeSampleModel();
    sample->positions.resize(6);
    sample->normals.resize(10);
    sample->faces.resize(2);
    const std::int32_t firstPositions[4] = {5, 1, 2, 3};
    const std::int32_t firstNormals[4] = {9, 1, 2, 3};
    const std::int32_t secondPositions[4] = {0, 5, 5, 1};
    const std::int32_t secondNormals[4] = {0, 9, 4, 8};
    for (int k = 0; k < 4; ++k) {
        sample->faces[0].positionIndices[k] = firstPositions[k];
        sample->faces[0].normalIndices[k] = firstNormals[k];
        sample->faces[1].positionIndices[k] = secondPositions[k];
        sample->faces[1].normalIndices[k] = secondNormals[k];
    }
    auto model = reload(*sample);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(6u, model->normalLists.size());
    EXPECT_EQ((std::vector<std::int32_t>{9, 9, 4}), model->normalLists[5]);
    EXPECT_EQ((std::vector<std::int32_t>{1, 8}), model->normalLists[1]);
    EXPECT_EQ((std::vector<std::int32_t>{0}), model->normalLists[0]);
    EXPECT_TRUE(model->normalLists[4].empty());
}

TEST(LoadModelRanges, OutOfRangeFaceIndicesFail) {
    const struct {
        std::size_t offset;
        std::int32_t value;
    } cases[] = {{FirstPositionIndexOffset, 2},
                 {FirstPositionIndexOffset + 12, -1},
                 {FirstNormalIndexOffset, 1},
                 {FirstNormalIndexOffset + 8, -2147483647 - 1}};
    for (const auto& bad : cases) {
        LoadError error;
        EXPECT_EQ(loadModelBytes(withInt32(HandModel, bad.offset, bad.value), &error), nullptr);
        EXPECT_EQ(static_cast<std::int64_t>(bad.offset), error.offset);
        EXPECT_EQ("face 0", error.section);
        EXPECT_NE(std::string::npos, error.message.find("outside"));
    }
}

TEST(LoadModelRanges, OutOfRangeBoneVertexIndicesFail) {
    for (std::int32_t value : {2, -1}) {
        LoadError error;
        EXPECT_EQ(loadModelBytes(withInt32(HandModel, BoneVertexOffset + 4, value), &error),
                  nullptr);
        EXPECT_EQ(static_cast<std::int64_t>(BoneVertexOffset + 4), error.offset);
        EXPECT_EQ("bone 0", error.section);
    }
    auto sample = makeSampleModel();
    sample->rootBone->firstChild->nextSibling->vertices = {0, 6};
    LoadError error;
    EXPECT_EQ(loadModelBytes(encodeModel(*sample), &error), nullptr);
    EXPECT_EQ("bone 3", error.section);
}

TEST(LoadModelRanges, NameWithoutZeroByteFails) {
    const std::size_t recordName = NamedCountOffset + 4;
    LoadError error;
    EXPECT_EQ(loadModelBytes(HandModel.substr(0, recordName) + std::string(60, 'x'), &error),
              nullptr);
    EXPECT_EQ(static_cast<std::int64_t>(recordName), error.offset);
    EXPECT_EQ("named records", error.section);
    EXPECT_NE(std::string::npos, error.message.find("zero byte"));
    EXPECT_EQ(loadModelBytes(HandModel.substr(0, RootNameOffset) + std::string(60, 'x'), &error),
              nullptr);
    EXPECT_EQ(static_cast<std::int64_t>(RootNameOffset), error.offset);
    EXPECT_NE(std::string::npos, error.message.find("zero byte"));
}

TEST(LoadModelBones, FourRecordPreOrderExample) {
    auto model = reload(*makeSampleModel());
    ASSERT_NE(model, nullptr);
    const BoneData* root = model->rootBone.get();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ("root", root->name);
    EXPECT_EQ(nullptr, root->nextSibling);
    const BoneData* second = root->firstChild.get();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ("spine", second->name);
    ASSERT_NE(second->firstChild, nullptr);
    EXPECT_EQ("head", second->firstChild->name);
    ASSERT_NE(second->nextSibling, nullptr);
    EXPECT_EQ("leg", second->nextSibling->name);
    EXPECT_EQ(nullptr, second->nextSibling->nextSibling);
    EXPECT_EQ((std::vector<std::int32_t>{4, 5, 4}), second->nextSibling->vertices);
    EXPECT_EQ(hashName("leg"), second->nextSibling->nameHash);
    EXPECT_EQ(4u, model->boneNames.size());
}

TEST(LoadModelBones, FlagsInTheFileDecideTheLinks) {
    // Flags (1,0) (1,1) (0,0) (0,0) written by hand: the third record is the second's child and
    // the fourth the second's sibling, because a child's subtree comes first.
    std::string bytes = HandModel.substr(0, BonesOffset);
    const char* names[4] = {"61", "62", "63", "64"};
    const char* flags[4] = {"01 00", "01 01", "00 00", "00 00"};
    for (int i = 0; i < 4; ++i) {
        bytes +=
            fromHex(std::string(flags[i]) + names[i] + "00" + std::string(72, '0') + "00 00 00 00");
    }
    LoadError error;
    auto model = loadModelBytes(bytes, &error);
    ASSERT_NE(model, nullptr) << error.describe();
    const BoneData& second = *model->rootBone->firstChild;
    EXPECT_EQ("a", model->rootBone->name);
    EXPECT_EQ("b", second.name);
    EXPECT_EQ("c", second.firstChild->name);
    EXPECT_EQ("d", second.nextSibling->name);
}

TEST(LoadModelBones, SharedHashKeepsLastNameAndFirstBone) {
    // "ron4" hashes like "root"; the third bone in file order carries it.
    ASSERT_EQ(hashName("root"), hashName("ron4"));
    auto sample = makeSampleModel();
    sample->rootBone->firstChild->firstChild->name = "ron4";
    auto model = reload(*sample);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ("ron4", model->boneName(hashName("root")));
    EXPECT_EQ(model->rootBone.get(), model->findBoneByHash(hashName("root")));
    EXPECT_EQ(model->rootBone.get(), model->findBone("ron4"));
    EXPECT_EQ(nullptr, model->findBone("root"));
    EXPECT_EQ(3u, model->boneNames.size());
}

TEST(LoadModelBones, LookupsOfUnknownNamesAndHashes) {
    auto model = reload(*makeSampleModel());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(nullptr, model->findBoneByHash(hashName("tail")));
    EXPECT_EQ(nullptr, model->findBone("tail"));
    EXPECT_EQ("", model->boneName(hashName("tail")));
    EXPECT_EQ("head", model->boneName(hashName("head")));
    EXPECT_EQ(model->rootBone->firstChild->nextSibling.get(), model->findBone("leg"));
    EXPECT_EQ(model->rootBone->firstChild->firstChild.get(),
              model->findBoneByHash(hashName("head")));
}

void expectReturnUndoesRest(const BoneData& bone) {
    const Matrix4 product = composeAffine(bone.restMatrix, bone.returnMatrix);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(Matrix4::Identity.element(i), product.element(i), 1e-6f) << "element " << i;
    }
}

const BoneData& singleBone(Vector3 head, Vector3 tail, Vector3 up,
                           std::unique_ptr<ModelData>& holder) {
    auto sample = makeSampleModel();
    sample->rootBone = std::make_unique<BoneData>();
    sample->rootBone->head = head;
    sample->rootBone->tail = tail;
    sample->rootBone->up = up;
    holder = reload(*sample);
    return *holder->rootBone;
}

TEST(LoadModelRestMatrices, BoneAlongZOnlyTurnsAboutZ) {
    std::unique_ptr<ModelData> holder;
    // Up point on the +X side of the bone: a quarter turn about Z brings it to +Y.
    const BoneData& bone = singleBone({1, 2, 3}, {1, 2, 5}, {2, 2, 3}, holder);
    expectNear(bone.restMatrix.column(2), Vector3(0, 0, 1));
    expectNear(transformPoint(bone.restMatrix, bone.head), Vector3(0, 0, 0));
    expectNear(transformPoint(bone.restMatrix, bone.tail), Vector3(0, 0, 2));
    expectNear(transformPoint(bone.restMatrix, bone.up), Vector3(0, 1, 0));
    expectReturnUndoesRest(bone);
}

TEST(LoadModelRestMatrices, BoneAlongXTurnsOntoZWithUpOnY) {
    std::unique_ptr<ModelData> holder;
    const BoneData& bone = singleBone({0, 1, 0}, {2, 1, 0}, {0, 2, 0}, holder);
    expectNear(transformPoint(bone.restMatrix, bone.tail), Vector3(0, 0, 2));
    const Vector3 up = transformPoint(bone.restMatrix, bone.up);
    EXPECT_NEAR(0.0f, up.x, 1e-6f);
    EXPECT_GT(up.y, 0.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(1.0f, Vector3::dot(bone.restMatrix.row(i), bone.restMatrix.row(i)), 1e-6f);
    }
    expectReturnUndoesRest(bone);
    expectNear(bone.returnMatrix.column(3), bone.head);
}

TEST(LoadModelRestMatrices, BoneWithoutLengthOnlyMovesItsHead) {
    std::unique_ptr<ModelData> holder;
    const BoneData& bone = singleBone({1, 2, 3}, {1, 2, 3}, {1, 3, 3}, holder);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Matrix4::Identity.column(k), bone.restMatrix.column(k));
    EXPECT_EQ(Vector3(-1, -2, -3), bone.restMatrix.column(3));
    EXPECT_EQ(Vector3(1, 2, 3), bone.returnMatrix.column(3));
}

TEST(LoadModelErrors, DescribeIsOneLineWithFileOffsetAndReason) {
    LoadError error;
    EXPECT_EQ(loadModelBytes(withInt32(HandModel, VersionOffset, 4), &error), nullptr);
    EXPECT_EQ("test.ply: offset 3: header: version is 4, expected 2 or 3", error.describe());
    const LoadError opened{"a\nb.ply", "open", -1, "cannot be opened"};
    EXPECT_EQ("a\\x0ab.ply: open: cannot be opened", opened.describe());
}

TEST(LoadModelFiles, LoadsFromAFileAsFromBytes) {
    const std::string path = ::testing::TempDir() + "vorel_load_model_test.ply";
    std::ofstream(path, std::ios::binary) << HandModel;
    auto model = loadModel(path);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(encodeModel(*model), encodeModel(*loadModelBytes(HandModel)));
    std::remove(path.c_str());
}

}  // namespace
}  // namespace vorel
