// importGltfBytes on RobotExpressive and on small hand-written documents, good and lying.
#include "gltf/import_gltf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

#include "assets/file_bytes.h"
#include "skeleton/bone_walk.h"
#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel {
namespace {

using test_support::robotBytes;

// One triangle: three positions in a data-URI buffer, with `extra` JSON appended to the root.
std::string triangleDocument(const std::string& nodes, const std::string& accessorCount = "3",
                             const std::string& extra = "") {
    // 36 bytes: (0,0,0) (1,0,0) (0,1,0) as little-endian floats, base64.
    const std::string buffer = "AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAA";
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],)" + nodes +
           R"(,"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],)"
           R"("buffers":[{"byteLength":36,"uri":"data:application/octet-stream;base64,)" +
           buffer +
           R"("}],"bufferViews":[{"buffer":0,"byteLength":36}],)"
           R"("accessors":[{"bufferView":0,"componentType":5126,"count":)" +
           accessorCount + R"(,"type":"VEC3"}])" + extra + "}";
}

bool imports(const std::string& bytes, ImportedSet& result, LoadError& error) {
    ImportOptions options;
    options.fitToView = false;
    return importGltfBytes(bytes, "test.gltf", options, result, error);
}

TEST(ImportGltf, RobotExpressiveImportsEveryJointMeshAndAnimation) {
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(imports(robotBytes(), result, error)) << error.describe();
    EXPECT_EQ(result.boneCount, 43u);
    EXPECT_EQ(result.animations.size(), 14u);
    EXPECT_EQ(result.keyAnimations.size(), 7u);
    // Every face is a triangle with its last corner repeated.
    for (const Face& face : result.model->faces)
        EXPECT_EQ(face.positionIndices[2], face.positionIndices[3]);
}

// (group, x, y, z bits): a value as welding tells values apart. A position's group is the
// bone that lists it or, for a weighted one, its influences' bytes.
using GroupValue = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t>;

GroupValue groupValue(const std::string& group, const Vector3& value) {
    std::uint32_t bits[3];
    std::memcpy(bits, &value, sizeof bits);
    return {group, bits[0], bits[1], bits[2]};
}

std::vector<std::string> groupOfEachPosition(const ModelData& model) {
    std::vector<std::string> groupOf(model.positions.size());
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model.rootBone.get()), pending,
              [&groupOf](const BoneData& bone) {
                  for (std::int32_t v : bone.vertices)
                      groupOf[static_cast<std::size_t>(v)] = "bone " + bone.name;
              });
    for (const WeightedVertex& weighted : model.weightedVertices) {
        const VertexInfluences& influences = weighted.influences;
        groupOf[static_cast<std::size_t>(weighted.vertex)] =
            std::string(reinterpret_cast<const char*>(influences.influences),
                        sizeof(Influence) * static_cast<std::size_t>(influences.count));
    }
    return groupOf;
}

TEST(ImportGltf, RobotExpressiveHoldsEachPositionAndNormalOfAGroupOnce) {
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(imports(robotBytes(), result, error)) << error.describe();
    const ModelData& model = *result.model;
    EXPECT_FALSE(model.weightedVertices.empty());
    const std::vector<std::string> groupOf = groupOfEachPosition(model);
    std::set<GroupValue> positions;
    for (std::size_t p = 0; p < model.positions.size(); ++p)
        positions.insert(groupValue(groupOf[p], model.positions[p]));
    EXPECT_EQ(positions.size(), model.positions.size());
    // Each normal is reached from the positions of one group only, and differs from the
    // group's other normals.
    std::vector<std::set<std::string>> groupsOfNormal(model.normals.size());
    for (const Face& face : model.faces) {
        for (int k = 0; k < 4; ++k)
            groupsOfNormal[static_cast<std::size_t>(face.normalIndices[k])].insert(
                groupOf[static_cast<std::size_t>(face.positionIndices[k])]);
    }
    std::set<GroupValue> normals;
    for (std::size_t n = 0; n < model.normals.size(); ++n) {
        ASSERT_EQ(groupsOfNormal[n].size(), 1u) << n;
        normals.insert(groupValue(*groupsOfNormal[n].begin(), model.normals[n]));
    }
    EXPECT_EQ(normals.size(), model.normals.size());
    // The file's 3237 triangles name 12948 corners; far fewer are distinct.
    EXPECT_LT(model.normals.size(), 4 * model.faces.size());
}

TEST(ImportGltf, FitPutsTheRestPoseOnTheGroundAtTheWantedHeight) {
    ImportedSet result;
    LoadError error;
    ImportOptions options;
    options.height = 100.0f;
    ASSERT_TRUE(importGltfBytes(robotBytes(), "robot.glb", options, result, error))
        << error.describe();
    float low = 1e30f, high = -1e30f;
    for (const Vector3& p : result.model->positions)
        low = std::min(low, p.y), high = std::max(high, p.y);
    EXPECT_NEAR(low, ViewGroundHeight, 1e-3);
    EXPECT_NEAR(high - low, 100.0f, 1e-3);
}

TEST(ImportGltf, ATruncatedGlbFailsCleanlyAtEveryLength) {
    const std::string bytes = robotBytes();
    for (std::size_t length : {std::size_t{0}, std::size_t{11}, std::size_t{19}, std::size_t{20},
                               std::size_t{1000}, bytes.size() / 2, bytes.size() - 1}) {
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(imports(bytes.substr(0, length), result, error)) << length;
        EXPECT_FALSE(error.message.empty()) << length;
    }
}

TEST(ImportGltf, AChunkLengthPastTheEndFails) {
    std::string bytes = robotBytes();
    bytes[12] = '\xff';
    bytes[13] = '\xff';
    bytes[14] = '\xff';
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(imports(bytes, result, error));
    EXPECT_NE(error.message.find("chunk length"), std::string::npos) << error.describe();
}

TEST(ImportGltf, AStaticTriangleImportsAsOneStaticBone) {
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(imports(triangleDocument(R"("nodes":[{"mesh":0}])"), result, error))
        << error.describe();
    EXPECT_TRUE(result.staticBone);
    EXPECT_EQ(result.model->positions.size(), 3u);
    EXPECT_EQ(result.model->faces.size(), 1u);
    // Normals computed from the face: +Z for a counter-clockwise triangle in the XY plane.
    EXPECT_FLOAT_EQ(result.model->normals[0].z, 1.0f);
}

TEST(ImportGltf, LyingOrBrokenDocumentsFailWithAReason) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {triangleDocument(R"("nodes":[{"mesh":0}])", "4"), "runs past"},
        {triangleDocument(R"("nodes":[{"mesh":0,"children":[1]},{"children":[0]}])"), "cycle"},
        {triangleDocument(R"("nodes":[{"mesh":0,"children":[0]}])"), "cycle"},
        {triangleDocument(R"("nodes":[{}])"), "no triangle mesh"},
        {triangleDocument(R"("nodes":[{"mesh":0,"translation":[0,0,1e999]}])"), "overflow"},
        {triangleDocument(R"("nodes":[{"mesh":0,"skin":0}])", "3", R"(,"skins":[{"joints":[]}])"),
         "no joints"},
    };
    for (const auto& [document, reason] : cases) {
        ImportedSet result;
        LoadError error;
        EXPECT_FALSE(imports(document, result, error)) << document;
        EXPECT_NE(error.describe().find(reason), std::string::npos) << error.describe();
    }
}

TEST(ImportGltf, AShearedNodeMatrixIsKeptAsItsNearestTrsWithAWarning) {
    test_support::ArmCharacter arm = test_support::makeArmCharacter();
    tinygltf::Node& ground = arm.builder.model().nodes[static_cast<std::size_t>(arm.ground)];
    // x picks up half of y: a shear no translation, rotation and scale can hold.
    ground.matrix = {1, 0, 0, 0, 0.5, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(imports(arm.builder.glb(), result, error)) << error.describe();
    ASSERT_FALSE(result.warnings.empty());
    EXPECT_EQ(result.warnings.front(),
              "1 node matrices shear (the first /nodes/" + std::to_string(arm.ground) +
                  "): kept as the nearest translation, rotation and scale");
    // A matrix that is a T*R*S says nothing.
    ground.matrix = {0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 1, 2, 3, 1};
    ImportedSet plain;
    ASSERT_TRUE(imports(arm.builder.glb(), plain, error)) << error.describe();
    for (const std::string& warning : plain.warnings)
        EXPECT_EQ(warning.find("shear"), std::string::npos) << warning;
}

TEST(ImportGltf, AnimationNamesAreMadeUniqueAndKeepClearOfTheKeyNames) {
    test_support::ArmCharacter arm = test_support::makeArmCharacter();
    tinygltf::Model& file = arm.builder.model();
    file.animations[1].name = "Wave";
    file.animations.push_back(file.animations[1]);
    file.animations.back().name = "Cancan";
    file.animations.push_back(file.animations[1]);
    file.animations.back().name = "";
    file.animations.push_back(file.animations[1]);
    file.animations.back().name = "two\nlines";
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(imports(arm.builder.glb(), result, error)) << error.describe();
    std::vector<std::string> names;
    for (const ImportedAnimation& animation : result.animations) names.push_back(animation.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Wave", "Wave_2", "Cancan_2", "animation3", "two lines"}));
    // Keys first under the dance names, then every animation under its own; distinct files.
    const SetToWrite set = setForImport(result);
    ASSERT_EQ(set.entries.size(), 10u);
    EXPECT_EQ(set.entries[0].name, "Cancan");
    EXPECT_EQ(set.entries[0].animation, 0u);
    EXPECT_EQ(set.entries[4].name, "MidKick");
    EXPECT_EQ(set.entries[7].name, "Cancan_2");
    std::vector<std::string> files;
    for (const SetAnimation& animation : set.animations) files.push_back(animation.fileName);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::unique(files.begin(), files.end()), files.end());
}

}  // namespace
}  // namespace vorel
