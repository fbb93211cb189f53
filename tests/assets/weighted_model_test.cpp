// Weighted vertices in the model file: what is written loads back bit for bit, every prefix
// fails cleanly, and every hostile influence is refused in one line naming the vertex.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "assets/load_model.h"
#include "assets/save_model.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

// The sample's weighted section starts with its count, right after the bones.
std::size_t weightedSectionOffset(const std::string& bytes, const ModelData& model) {
    std::size_t size = 4;
    for (const WeightedVertex& weighted : model.weightedVertices) {
        size += 4 + 1 + 8 * static_cast<std::size_t>(weighted.influences.count);
    }
    return bytes.size() - size;
}

std::string withField(std::string bytes, std::size_t offset, const void* value, std::size_t width) {
    bytes.replace(offset, width, static_cast<const char*>(value), width);
    return bytes;
}

std::string withI32(const std::string& bytes, std::size_t offset, std::int32_t value) {
    return withField(bytes, offset, &value, 4);
}

std::string withF32(const std::string& bytes, std::size_t offset, float value) {
    return withField(bytes, offset, &value, 4);
}

std::string loadFailure(const std::string& bytes) {
    LoadError error;
    EXPECT_EQ(loadModelFromBytes(bytes, "w.ply", &error), nullptr);
    return error.describe();
}

class WeightedModelFile : public ::testing::Test {
  protected:
    std::unique_ptr<ModelData> sample = makeSampleWeightedModel();
    std::string bytes = encodeModel(*sample);
    std::size_t section = weightedSectionOffset(bytes, *sample);
    // Fields of the first record (vertex 3, two influences) and of the second (vertex 5).
    std::size_t firstVertex = section + 4;
    std::size_t firstCount = firstVertex + 4;
    std::size_t firstBone = firstCount + 1;
    std::size_t firstWeight = firstBone + 4;
    std::size_t secondWeight = firstWeight + 8;
    std::size_t secondRecord = firstVertex + 4 + 1 + 16;
};

TEST_F(WeightedModelFile, LoadsBackBitForBitAndEncodesAgainTheSame) {
    LoadError error;
    auto loaded = loadModelFromBytes(bytes, "w.ply", &error);
    ASSERT_NE(loaded, nullptr) << error.describe();
    EXPECT_EQ(WeightedModelVersion, loaded->header->version);
    ASSERT_EQ(sample->weightedVertices.size(), loaded->weightedVertices.size());
    for (std::size_t i = 0; i < sample->weightedVertices.size(); ++i) {
        const WeightedVertex& a = sample->weightedVertices[i];
        const WeightedVertex& b = loaded->weightedVertices[i];
        EXPECT_EQ(a.vertex, b.vertex);
        ASSERT_EQ(a.influences.count, b.influences.count);
        for (int k = 0; k < a.influences.count; ++k) {
            EXPECT_EQ(a.influences.influences[k].bone, b.influences.influences[k].bone);
            EXPECT_EQ(a.influences.influences[k].weight, b.influences.influences[k].weight);
        }
    }
    EXPECT_EQ(bytes, encodeModel(*loaded));
}

TEST_F(WeightedModelFile, VersionFollowsTheWeights) {
    // Version 2 stays byte for byte what it was: no section after the bones.
    auto rigid = makeSampleModel();
    const std::string rigidBytes = encodeModel(*rigid);
    EXPECT_EQ(2, rigidBytes[3]);
    // A model given weights is written as version 3 whatever its header says.
    sample->header->version = ModelVersion;
    const std::string weighted = encodeModel(*sample);
    EXPECT_EQ(3, weighted[3]);
    EXPECT_EQ(bytes, weighted);
    // A version-3 model without weighted vertices keeps an empty section.
    rigid->header->version = WeightedModelVersion;
    const std::string empty = encodeModel(*rigid);
    EXPECT_EQ(rigidBytes.size() + 4, empty.size());
    auto loaded = loadModelFromBytes(empty, "e.ply");
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->weightedVertices.empty());
}

TEST_F(WeightedModelFile, EveryPrefixFailsWithinItself) {
    for (std::size_t length = section; length < bytes.size(); ++length) {
        LoadError error;
        EXPECT_EQ(loadModelFromBytes(bytes.substr(0, length), "cut.ply", &error), nullptr);
        EXPECT_FALSE(error.message.empty()) << "length " << length;
        EXPECT_LE(error.offset, static_cast<std::int64_t>(length)) << "length " << length;
    }
}

TEST_F(WeightedModelFile, WeightsAreNormalisedOnceAndThenKept) {
    // 1 and 3 become 0.25 and 0.75 exactly; 0.25 and 0.75 are kept as they are.
    const std::string scaled = withF32(withF32(bytes, firstWeight, 1.0f), secondWeight, 3.0f);
    auto loaded = loadModelFromBytes(scaled, "w.ply");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(0.25f, loaded->weightedVertices[0].influences.influences[0].weight);
    EXPECT_EQ(0.75f, loaded->weightedVertices[0].influences.influences[1].weight);
    EXPECT_EQ(bytes, encodeModel(*loaded));
    // Thirds do not sum to 1 exactly in floats, yet a second pass changes nothing.
    const float third = 1.0f / 3.0f;
    std::string thirds = bytes;
    for (std::size_t k = 0; k < 3; ++k) thirds = withF32(thirds, secondRecord + 9 + 8 * k, 7.0f);
    auto once = loadModelFromBytes(thirds, "t.ply");
    ASSERT_NE(once, nullptr);
    EXPECT_NEAR(third, once->weightedVertices[1].influences.influences[2].weight, 1e-7f);
    const std::string written = encodeModel(*once);
    auto twice = loadModelFromBytes(written, "t.ply");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(written, encodeModel(*twice));
}

TEST_F(WeightedModelFile, HostileRecordsAreRefusedNamingTheVertex) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::string at =
        "w.ply: offset " + std::to_string(firstVertex) + ": weighted vertex 0: vertex 3: ";
    EXPECT_EQ(at + "influence 0 weight nan is not finite",
              loadFailure(withF32(bytes, firstWeight, nan)));
    EXPECT_EQ(at + "influence 1 weight inf is not finite",
              loadFailure(withF32(bytes, secondWeight, inf)));
    EXPECT_EQ(at + "influence 0 weight -0.5 is negative",
              loadFailure(withF32(bytes, firstWeight, -0.5f)));
    EXPECT_EQ(at + "weights sum to 0",
              loadFailure(withF32(withF32(bytes, firstWeight, 0.0f), secondWeight, 0.0f)));
    EXPECT_EQ(at + "influence 0 names bone 4, outside [0, 4)",
              loadFailure(withI32(bytes, firstBone, 4)));
    EXPECT_EQ(at + "influence 0 names bone -1, outside [0, 4)",
              loadFailure(withI32(bytes, firstBone, -1)));
    // The largest floats still sum to a finite double and normalise to finite weights.
    auto huge = loadModelFromBytes(withF32(withF32(bytes, firstWeight, 3e38f), secondWeight, 3e38f),
                                   "w.ply");
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(0.5f, huge->weightedVertices[0].influences.influences[0].weight);
}

TEST_F(WeightedModelFile, BadCountsAndVerticesAreRefusedInOneLine) {
    const std::string count = "w.ply: offset " + std::to_string(firstCount) +
                              ": weighted vertex 0: vertex 3: influence count ";
    for (int bad : {0, 5, 255}) {
        std::string changed = bytes;
        changed[firstCount] = static_cast<char>(bad);
        EXPECT_EQ(count + std::to_string(bad) + " is outside [1, 4]", loadFailure(changed));
    }
    const std::string vertexAt =
        "w.ply: offset " + std::to_string(firstVertex) + ": weighted vertex 0: ";
    EXPECT_EQ(vertexAt + "vertex index 6 is outside [0, 6)",
              loadFailure(withI32(bytes, firstVertex, 6)));
    EXPECT_EQ(vertexAt + "vertex 2 is weighted and also listed under a bone",
              loadFailure(withI32(bytes, firstVertex, 2)));
    EXPECT_EQ("w.ply: offset " + std::to_string(secondRecord) +
                  ": weighted vertex 1: vertex 3 is weighted twice",
              loadFailure(withI32(bytes, secondRecord, 3)));
    EXPECT_EQ("w.ply: offset " + std::to_string(section) +
                  ": influences: weighted vertex count is -1, must be at least 0",
              loadFailure(withI32(bytes, section, -1)));
    EXPECT_EQ("w.ply: offset " + std::to_string(section) +
                  ": influences: weighted vertex count 2147483647 needs at least 13 bytes each, "
                  "only " +
                  std::to_string(bytes.size() - section - 4) + " bytes left",
              loadFailure(withI32(bytes, section, 2147483647)));
}

}  // namespace
}  // namespace vorel
