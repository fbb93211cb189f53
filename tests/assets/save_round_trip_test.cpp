// The writers: loading what encodeModel, encodeAnimation and encodeManifest wrote gives back
// the same records (tangents aside, which the loader recomputes), through files as well.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "assets/load_animation.h"
#include "assets/load_manifest.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

void expectSameFloats(const float* expected, const float* actual, int count, const char* what) {
    for (int i = 0; i < count; ++i) EXPECT_EQ(expected[i], actual[i]) << what << " " << i;
}

void expectSameMaterials(const ModelData& expected, const ModelData& actual) {
    ASSERT_EQ(expected.materials.size(), actual.materials.size());
    for (std::size_t i = 0; i < expected.materials.size(); ++i) {
        const MaterialRecord& a = expected.materials[i];
        const MaterialRecord& b = actual.materials[i];
        expectSameFloats(a.firstColour, b.firstColour, 3, "first colour");
        EXPECT_EQ(a.firstScalar, b.firstScalar);
        expectSameFloats(a.secondColour, b.secondColour, 3, "second colour");
        for (int k = 0; k < 8; ++k) EXPECT_EQ(a.fields[k], b.fields[k]);
    }
}

void expectSameFaces(const ModelData& expected, const ModelData& actual) {
    ASSERT_EQ(expected.faces.size(), actual.faces.size());
    for (std::size_t i = 0; i < expected.faces.size(); ++i) {
        const Face& a = expected.faces[i];
        const Face& b = actual.faces[i];
        EXPECT_EQ(a.leadingWord, b.leadingWord);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(a.positionIndices[k], b.positionIndices[k]);
            EXPECT_EQ(a.normalIndices[k], b.normalIndices[k]);
        }
        ASSERT_EQ(a.layers.size(), b.layers.size());
        for (std::size_t l = 0; l < a.layers.size(); ++l) {
            for (int k = 0; k < 4; ++k) EXPECT_EQ(a.layers[l].fields[k], b.layers[l].fields[k]);
            EXPECT_EQ(a.layers[l].bytes[0], b.layers[l].bytes[0]);
            EXPECT_EQ(a.layers[l].bytes[1], b.layers[l].bytes[1]);
            expectSameFloats(a.layers[l].texCoords, b.layers[l].texCoords, 8, "coordinate");
        }
    }
}

void expectSameBones(const BoneData* expected, const BoneData* actual) {
    ASSERT_EQ(expected == nullptr, actual == nullptr);
    if (expected == nullptr) return;
    EXPECT_EQ(expected->name, actual->name);
    EXPECT_EQ(expected->head, actual->head);
    EXPECT_EQ(expected->tail, actual->tail);
    EXPECT_EQ(expected->up, actual->up);
    EXPECT_EQ(expected->vertices, actual->vertices);
    expectSameBones(expected->firstChild.get(), actual->firstChild.get());
    expectSameBones(expected->nextSibling.get(), actual->nextSibling.get());
}

TEST(SaveModel, LoadingWhatWasWrittenGivesTheSameRecords) {
    auto sample = makeSampleModel();
    LoadError error;
    auto loaded = loadModelFromBytes(encodeModel(*sample), "sample.ply", &error);
    ASSERT_NE(loaded, nullptr) << error.describe();
    EXPECT_EQ(0, std::memcmp(sample->header->magic, loaded->header->magic, 4));
    expectSameMaterials(*sample, *loaded);
    ASSERT_EQ(sample->namedRecords.size(), loaded->namedRecords.size());
    for (std::size_t i = 0; i < sample->namedRecords.size(); ++i) {
        EXPECT_EQ(sample->namedRecords[i].name, loaded->namedRecords[i].name);
        EXPECT_EQ(sample->namedRecords[i].values[0], loaded->namedRecords[i].values[0]);
        EXPECT_EQ(sample->namedRecords[i].values[1], loaded->namedRecords[i].values[1]);
    }
    EXPECT_EQ(sample->positions, loaded->positions);
    EXPECT_EQ(sample->normals, loaded->normals);
    expectSameFaces(*sample, *loaded);
    expectSameBones(sample->rootBone.get(), loaded->rootBone.get());
}

TEST(SaveModel, EncodingIsStableAcrossLoads) {
    const std::string first = encodeModel(*makeSampleModel());
    auto loaded = loadModelFromBytes(first, "sample.ply");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(first, encodeModel(*loaded));
}

TEST(SaveModel, WritesAFileAndReportsFailure) {
    const std::string path = ::testing::TempDir() + "vorel_save_model_test.ply";
    ASSERT_TRUE(saveModel(*makeSampleModel(), path));
    auto loaded = loadModel(path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(encodeModel(*makeSampleModel()), encodeModel(*loaded));
    std::remove(path.c_str());
    EXPECT_FALSE(saveModel(*makeSampleModel(), "/nonexistent/dir/model.ply"));
}

TEST(SaveAnimation, LoadingWhatWasWrittenGivesTheSameKeys) {
    auto sample = makeSampleAnimation();
    LoadError error;
    auto loaded = loadAnimationFromBytes(encodeAnimation(*sample), "sample.anim", &error);
    ASSERT_NE(loaded, nullptr) << error.describe();
    EXPECT_EQ(sample->header->duration, loaded->header->duration);
    ASSERT_EQ(sample->tracks.size(), loaded->tracks.size());
    for (std::size_t t = 0; t < sample->tracks.size(); ++t) {
        EXPECT_EQ(sample->tracks[t].name, loaded->tracks[t].name);
        for (int c = 0; c < ChannelCount; ++c) {
            std::vector<Keyframe> expected = sample->tracks[t].channels[c];
            computeTangents(expected);
            const std::vector<Keyframe>& actual = loaded->tracks[t].channels[c];
            ASSERT_EQ(expected.size(), actual.size());
            for (std::size_t k = 0; k < expected.size(); ++k) {
                EXPECT_EQ(expected[k].time, actual[k].time);
                EXPECT_EQ(expected[k].value, actual[k].value);
                EXPECT_EQ(expected[k].flags, actual[k].flags);
                EXPECT_EQ(expected[k].outTangent.time, actual[k].outTangent.time);
                EXPECT_EQ(expected[k].outTangent.value, actual[k].outTangent.value);
                EXPECT_EQ(expected[k].inTangent.time, actual[k].inTangent.time);
                EXPECT_EQ(expected[k].inTangent.value, actual[k].inTangent.value);
            }
        }
    }
}

TEST(SaveAnimation, KeySizesFollowTheirFlags) {
    AnimationData animation;
    animation.tracks.resize(1);
    animation.tracks[0].name = "a";
    const std::size_t empty = encodeAnimation(animation).size();
    EXPECT_EQ(10u + 2 + 48 + 20, empty);
    animation.tracks[0].channels[2].resize(2);
    animation.tracks[0].channels[2][0].flags = 0x01;
    animation.tracks[0].channels[2][1].flags = 0x04;
    EXPECT_EQ(empty + 9 + 25, encodeAnimation(animation).size());
}

TEST(SaveAnimation, WritesAFile) {
    const std::string path = ::testing::TempDir() + "vorel_save_animation_test.anim";
    ASSERT_TRUE(saveAnimation(*makeSampleAnimation(), path));
    auto loaded = loadAnimation(path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(2u, loaded->tracks.size());
    std::remove(path.c_str());
    EXPECT_FALSE(saveAnimation(*makeSampleAnimation(), "/nonexistent/dir/clip.anim"));
}

TEST(SaveManifest, NamesAndPathsComeBackInOrder) {
    const std::vector<ManifestEntry> models = {{"dancer", "/nonexistent/a.ply"}};
    const std::vector<ManifestEntry> animations = {{"Joyous Walk", "/nonexistent/b.anim"},
                                                   {"Cancan ", "/nonexistent/c.anim"}};
    ManifestReport report;
    auto library = loadManifestFromText(encodeManifest(models, animations), "m.txt", &report);
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(report.readStopped);
    EXPECT_EQ((std::vector<std::string>{"dancer"}), library->modelNames);
    EXPECT_EQ((std::vector<std::string>{"Joyous Walk", "Cancan "}), library->animationNames);
    ASSERT_EQ(3u, report.failedFiles.size());
    EXPECT_EQ("/nonexistent/c.anim", report.failedFiles[2].file);
    EXPECT_EQ("1\ndancer\n/nonexistent/a.ply\n0\n", encodeManifest(models, {}));
}

}  // namespace
}  // namespace vorel
