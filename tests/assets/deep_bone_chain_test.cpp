// A million bones, each the previous one's first child (and, separately, each the previous
// one's next sibling): loading, searching, writing and destroying must not recurse per bone.
#include <gtest/gtest.h>

#include "assets/load_model.h"
#include "assets/save_model.h"
#include "math/hash_name.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

constexpr int ChainLength = 1000000;

// The sample model's sections up to its bones, then the chain. Bones lie along +Z, where the
// rest frame needs no trigonometry, which keeps the test fast under the sanitizers too.
std::string chainModel(bool asChildren) {
    auto sample = makeSampleModel();
    sample->rootBone = std::make_unique<BoneData>();
    std::string bytes = encodeModel(*sample);
    const std::size_t emptyBoneBytes = 2 + 1 + 36 + 4;
    bytes.resize(bytes.size() - emptyBoneBytes);
    const std::string link = asChildren ? std::string("\x01\x00", 2) : std::string("\x00\x01", 2);
    const std::string last(2, '\0');
    // Name "b", head (0, 0, 0), tail (0, 0, 1), up (0, 0, 0), no vertices.
    const std::string record = std::string("b", 2) + std::string(20, '\0') +
                               std::string("\x00\x00\x80\x3F", 4) + std::string(16, '\0');
    const std::string linked = link + record;
    bytes.reserve(bytes.size() + ChainLength * linked.size());
    for (int i = 1; i < ChainLength; ++i) bytes += linked;
    bytes += last;
    bytes += record;
    return bytes;
}

void expectChainLoads(bool asChildren, bool checkWriter) {
    const std::string bytes = chainModel(asChildren);
    LoadError error;
    auto model = loadModelFromBytes(bytes, "chain.ply", &error);
    ASSERT_NE(model, nullptr) << error.describe();
    EXPECT_EQ(nullptr, model->findBoneByHash(hashName("c")));
    EXPECT_EQ(model->rootBone.get(), model->findBone("b"));
    int length = 0;
    for (const BoneData* bone = model->rootBone.get(); bone != nullptr; ++length) {
        bone = asChildren ? bone->firstChild.get() : bone->nextSibling.get();
    }
    EXPECT_EQ(ChainLength, length);
    if (checkWriter) {
        EXPECT_TRUE(bytes == encodeModel(*model)) << "the writer must follow the file order";
    }
    model.reset();
}

TEST(DeepBoneChain, MillionFirstChildrenLoadAndFree) {
    expectChainLoads(true, true);
}

TEST(DeepBoneChain, MillionSiblingsLoadAndFree) {
    expectChainLoads(false, false);
}

}  // namespace
}  // namespace vorel
