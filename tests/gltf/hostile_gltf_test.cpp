// glTF documents that lie in their JSON: fields of the wrong type or out of range, nesting
// deep enough to overflow a recursive reader, an empty GLB buffer, numbers a float cannot
// hold, and morph-weight channels as broken as refused rotation channels. Each is refused
// with one line naming the document and the field.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel::test_support {
namespace {

using Json = nlohmann::json;

// The arm as .gltf text, changed by `edit` in its JSON form.
std::string editedArm(const std::function<void(Json&)>& edit) {
    Json document = Json::parse(makeArmCharacter().builder.json());
    edit(document);
    return document.dump();
}

// The import's one line, or "imported" when the document was taken.
std::string refusal(const std::string& bytes, const std::string& path = "arm.gltf") {
    ImportedSet result;
    LoadError error;
    if (importWithoutFit(bytes, result, error, path)) return "imported";
    return error.describe();
}

void expectRefusedNaming(const std::string& line, const std::string& path,
                         const std::vector<std::string>& words) {
    EXPECT_EQ(line.rfind(path + ": ", 0), 0u) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    for (const std::string& word : words) EXPECT_NE(line.find(word), std::string::npos) << line;
}

struct LyingField {
    const char* what;
    std::function<void(Json&)> edit;
    std::vector<std::string> expected;
};

TEST(HostileGltf, FieldsOfTheWrongTypeOrOutOfRangeAreRefusedNotDefaulted) {
    const std::vector<LyingField> cases = {
        {"negative accessor offset",
         [](Json& d) { d["accessors"][0]["byteOffset"] = -12; },
         {"/accessors/0/byteOffset", "integer from 0"}},
        {"accessor offset of 2^64",
         [](Json& d) { d["accessors"][0]["byteOffset"] = 18446744073709551616.0; },
         {"/accessors/0/byteOffset"}},
        {"negative stride",
         [](Json& d) { d["bufferViews"][0]["byteStride"] = -12; },
         {"/bufferViews/0/byteStride", "from 4 to 252"}},
        {"translation given as strings",
         [](Json& d) {
             d["nodes"][1]["translation"] = {"1", "2", "3"};
         },
         {"/nodes/1/translation", "3 numbers"}},
        {"translation a float cannot hold",
         [](Json& d) {
             d["nodes"][1]["translation"] = {1e39, 0, 0};
         },
         {"/nodes/1/translation", "a float can hold"}},
        {"scale a float cannot hold",
         [](Json& d) {
             d["nodes"][2]["scale"] = {1, -1e39, 1};
         },
         {"/nodes/2/scale"}},
        {"fractional child index",
         [](Json& d) { d["nodes"][0]["children"] = {1.5}; },
         {"/nodes/0/children", "indices"}},
        {"sampler index as text",
         [](Json& d) { d["animations"][0]["channels"][0]["sampler"] = "0"; },
         {"/animations/0/channels/0/sampler"}},
        {"target node below zero",
         [](Json& d) { d["animations"][0]["channels"][0]["target"]["node"] = -1; },
         {"/animations/0/channels/0/target/node"}},
        {"attribute naming a negative accessor",
         [](Json& d) { d["meshes"][0]["primitives"][0]["attributes"]["POSITION"] = -3; },
         {"/meshes/0/primitives/0/attributes", "indices"}},
        {"scene index as a float", [](Json& d) { d["scene"] = 0.5; }, {"/scene"}},
    };
    for (const LyingField& lie : cases) {
        SCOPED_TRACE(lie.what);
        expectRefusedNaming(refusal(editedArm(lie.edit)), "arm.gltf", lie.expected);
    }
}

TEST(HostileGltf, DeepNestingIsRefusedBeforeTheRecursiveReaderSeesIt) {
    // 16,000 levels overflowed the stack in tinygltf's conversion of "extras".
    for (int depth : {513, 16000, 200000}) {
        const std::string deep(static_cast<std::size_t>(depth), '[');
        const std::string text = editedArm([](Json& d) { d["extras"] = "DEEP"; });
        std::string bytes = text;
        bytes.replace(bytes.find("\"DEEP\""), 6,
                      deep + std::string(static_cast<std::size_t>(depth), ']'));
        expectRefusedNaming(refusal(bytes), "arm.gltf", {"JSON", "nested more than 512"});
    }
    // Brackets inside strings are text, and 512 levels are still read.
    const std::string brackets = editedArm([](Json& d) { d["extras"] = std::string(20000, '['); });
    EXPECT_EQ(refusal(brackets), "imported");
    std::string deepest = editedArm([](Json& d) { d["extras"] = "DEEP"; });
    deepest.replace(deepest.find("\"DEEP\""), 6, std::string(510, '[') + std::string(510, ']'));
    EXPECT_EQ(refusal(deepest), "imported");
}

// A GLB made by hand from a JSON text and a BIN chunk, lengths as they are.
std::string glbOf(std::string json, const std::string& bin) {
    json.resize((json.size() + 3) / 4 * 4, ' ');
    auto word = [](std::uint32_t value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    const std::string chunks = word(static_cast<std::uint32_t>(json.size())) + "JSON" + json +
                               word(static_cast<std::uint32_t>(bin.size())) + "BIN" + '\0' + bin;
    return "glTF" + word(2) + word(static_cast<std::uint32_t>(12 + chunks.size())) + chunks;
}

TEST(HostileGltf, AGlbBufferOfLengthZeroIsOneLineNotAnEscapingException) {
    ArmCharacter arm = makeArmCharacter();
    Json document = Json::parse(arm.builder.json());
    document["buffers"][0].erase("uri");
    document["buffers"][0]["byteLength"] = 0;
    expectRefusedNaming(refusal(glbOf(document.dump(), ""), "arm.glb"), "arm.glb",
                        {"/buffers/0/byteLength"});
    expectRefusedNaming(refusal(glbOf(document.dump(), arm.builder.bufferBytes()), "arm.glb"),
                        "arm.glb", {"/buffers/0/byteLength"});
}

// A morph-weight channel added to "Wave", which the import skips but checks like any other.
void addWeightChannel(ArmCharacter& arm, int sampler, int node) {
    tinygltf::AnimationChannel channel;
    channel.sampler = sampler;
    channel.target_node = node;
    channel.target_path = "weights";
    arm.builder.model().animations[0].channels.push_back(channel);
}

TEST(HostileGltf, MorphWeightChannelsAreCheckedBeforeTheyAreSkipped) {
    {
        ArmCharacter arm = makeArmCharacter();
        addWeightChannel(arm, 999, arm.body);
        expectRefusedNaming(refusal(arm.builder.glb(), "arm.glb"), "arm.glb",
                            {"/animations/0/channels/", "sampler index out of range"});
    }
    {
        ArmCharacter arm = makeArmCharacter();
        addWeightChannel(arm, 0, 99999);
        expectRefusedNaming(refusal(arm.builder.glb(), "arm.glb"), "arm.glb",
                            {"/animations/0/channels/", "target node out of range"});
    }
    {
        ArmCharacter arm = makeArmCharacter();
        tinygltf::AnimationSampler backwards;
        backwards.input = arm.builder.addFloats({1.0f, 0.5f}, TINYGLTF_TYPE_SCALAR);
        backwards.output = arm.builder.addFloats({0.0f, 1.0f}, TINYGLTF_TYPE_SCALAR);
        std::vector<tinygltf::AnimationSampler>& samplers =
            arm.builder.model().animations[0].samplers;
        samplers.push_back(backwards);
        addWeightChannel(arm, static_cast<int>(samplers.size()) - 1, arm.body);
        expectRefusedNaming(refusal(arm.builder.glb(), "arm.glb"), "arm.glb",
                            {"decreases or repeats at key 1"});
    }
    ArmCharacter arm = makeArmCharacter();
    addWeightChannel(arm, 0, arm.body);
    EXPECT_EQ(refusal(arm.builder.glb(), "arm.glb"), "imported");
}

TEST(HostileGltf, PositionsNearTheFloatLimitFitTheViewWithFiniteValues) {
    ArmCharacter arm = makeArmCharacter();
    PrimitiveData far;
    far.positions = {0, -3e38f, 0, 1, 3e38f, 0, 0, 3e38f, 1};
    arm.builder.addMesh(arm.builder.addNode("Far"), far);
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importGltfBytes(arm.builder.glb(), "arm.glb", ImportOptions{}, result, error))
        << error.describe();
    EXPECT_GT(result.fit.scale, 0.0f);
    for (const Vector3& p : result.model->positions) {
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
}

}  // namespace
}  // namespace vorel::test_support
