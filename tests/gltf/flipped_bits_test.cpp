// A real character with a few bits flipped in its binary buffer: the import either refuses it
// in one line or gives a set whose every value, read back as the loaders read it, is finite.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "assets/file_bytes.h"
#include "assets/finite_values.h"
#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "gltf/import_gltf.h"
#include "tests/gltf/import_test_helpers.h"

namespace vorel {
namespace {

using test_support::robotBytes;

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

// Where the GLB's binary chunk starts, and its length: after the 12-byte header and the JSON
// chunk (its length, its type, its bytes), past the binary chunk's own length and type.
std::pair<std::size_t, std::size_t> binaryChunk(const std::string& glb) {
    const std::size_t jsonLength = wordAt(glb, 12);
    const std::size_t binaryHeader = 12 + 8 + jsonLength;
    return {binaryHeader + 8, wordAt(glb, binaryHeader)};
}

// The bits the seed picks, flipped in a copy.
std::string withFlippedBits(const std::string& glb, unsigned seed, int flips) {
    const auto [start, length] = binaryChunk(glb);
    std::mt19937 random(seed);
    std::string flipped = glb;
    for (int i = 0; i < flips; ++i) {
        const std::size_t offset = start + random() % length;
        flipped[offset] = static_cast<char>(flipped[offset] ^ (1 << (random() % 8)));
    }
    return flipped;
}

// What the loaders will make of the set: every value finite.
void expectFiniteOnceLoaded(const ImportedSet& set, unsigned seed) {
    const auto model = loadModelFromBytes(encodeModel(*set.model), "model.ply");
    ASSERT_NE(model, nullptr) << seed;
    EXPECT_EQ(nonFiniteValue(*model), "") << seed;
    for (const ImportedAnimation& animation : set.animations) {
        const auto loaded = loadAnimationFromBytes(encodeAnimation(*animation.data), "a.anim");
        ASSERT_NE(loaded, nullptr) << seed;
        EXPECT_EQ(nonFiniteValue(*loaded), "") << seed << " " << animation.name;
    }
}

TEST(FlippedBits, HugeKeysWhoseTangentsOverflowAreRefusedBeforeAnythingIsWritten) {
    // Eight flipped bits, one of them making a scale key of 'Ring2R' in 'Wave' huge: every key
    // is finite, the tangent the loader computes beside it is not.
    const std::string glb = robotBytes();
    const auto [start, length] = binaryChunk(glb);
    ASSERT_GT(length, 288405u);
    std::string flipped = glb;
    const std::pair<std::size_t, int> bits[] = {{142339, 6}, {284115, 6}, {193503, 5}, {279336, 6},
                                                {196462, 0}, {288405, 6}, {115356, 0}, {204037, 3}};
    for (const auto& [offset, bit] : bits) {
        flipped[start + offset] = static_cast<char>(flipped[start + offset] ^ (1 << bit));
    }
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importGltfBytes(flipped, "flipped.glb", ImportOptions{}, result, error));
    EXPECT_EQ(error.describe(),
              "flipped.glb: animation 'Wave': track 'Ring2R' channel 3 key 1 is not finite once "
              "loaded (its neighbours are too far apart for a float tangent)");
}

TEST(FlippedBits, EveryImportThatSucceedsReadsBackFinite) {
    const std::string glb = robotBytes();
    int imported = 0;
    for (unsigned seed = 0; seed < 24; ++seed) {
        ImportedSet result;
        LoadError error;
        if (!importGltfBytes(withFlippedBits(glb, seed, 8), "flipped.glb", ImportOptions{}, result,
                             error)) {
            EXPECT_NE(error.message, "") << seed;
            EXPECT_EQ(error.describe().find('\n'), std::string::npos) << seed;
            continue;
        }
        ++imported;
        expectFiniteOnceLoaded(result, seed);
    }
    EXPECT_GT(imported, 0);
}

}  // namespace
}  // namespace vorel
