// importSkeleton through importGltfBytes: one skeleton from several skins, unique names and
// name hashes, and bone rest frames on the joints' bind frames.
#include "gltf/gltf_skeleton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "math/hash_name.h"
#include "skeleton/bone_walk.h"
#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel::test_support {
namespace {

std::vector<std::string> boneNames(const ImportedSet& result) {
    std::vector<std::string> names;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(result.model->rootBone.get()), pending,
              [&names](const BoneData& bone) { names.push_back(bone.name); });
    return names;
}

TEST(ImportSkeleton, SeveralSkinsOverTheSameJointsAreOneSkeleton) {
    ArmCharacter arm = makeArmCharacter();
    // A second skinned mesh naming the same joints in another order, as exporters do per mesh.
    GltfBuilder& b = arm.builder;
    PrimitiveData sleeve;
    sleeve.positions = {0, 1.5f, 0, 0.1f, 1.5f, 0, 0, 1.6f, 0};
    sleeve.joints = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    sleeve.weights = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    const int node = b.addNode("Sleeve");
    b.addMesh(node, sleeve);
    const std::vector<float> upper = translationInverseBind(0, 1.5f, 0);
    std::vector<float> inverseBind = upper;
    const std::vector<float> hips = translationInverseBind(0, 1.0f, 0);
    inverseBind.insert(inverseBind.end(), hips.begin(), hips.end());
    b.model().nodes[static_cast<std::size_t>(node)].skin =
        b.addSkin({arm.upper, arm.hips}, inverseBind);
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(b.glb(), result, error)) << error.describe();
    EXPECT_EQ(result.boneCount, 3u);
    EXPECT_EQ(boneNames(result), (std::vector<std::string>{"Hips", "Upper", "Lower"}));
    // The sleeve's last vertex follows skin joint 1, which is Hips.
    const BoneData* sleeveEnd = boneMoving(*result.model, result.vertexPositions.back());
    ASSERT_NE(sleeveEnd, nullptr);
    EXPECT_EQ(sleeveEnd->name, "Hips");
}

TEST(ImportSkeleton, JointNamesAreMadeUniqueAndSoAreTheirHashes) {
    // "Aa" and "@!" hash alike: ('A' << 6) ^ 'a' == ('@' << 6) ^ '!'.
    ASSERT_EQ(hashName("Aa"), hashName("@!"));
    ArmCharacter arm = makeArmCharacter();
    tinygltf::Model& file = arm.builder.model();
    file.nodes[static_cast<std::size_t>(arm.hips)].name = "Aa";
    file.nodes[static_cast<std::size_t>(arm.upper)].name = "@!";
    file.nodes[static_cast<std::size_t>(arm.lower)].name = "";
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    const std::vector<std::string> names = boneNames(result);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "Aa");
    EXPECT_EQ(names[1], "@!_2");
    EXPECT_EQ(names[2], "joint" + std::to_string(arm.lower));
    std::set<std::uint32_t> hashes;
    for (const std::string& name : names) hashes.insert(hashName(name));
    EXPECT_EQ(hashes.size(), 3u);
    bool warned = false;
    for (const std::string& warning : result.warnings)
        warned = warned || warning.find("'@!_2'") != std::string::npos;
    EXPECT_TRUE(warned);
    // Tracks find the renamed bone by its new name: both animations move the upper arm.
    ASSERT_EQ(result.animations.size(), 2u);
    for (const ImportedAnimation& animation : result.animations) {
        int renamedTracks = 0;
        for (const TrackData& track : animation.data->tracks) {
            EXPECT_NE(track.name, "@!");
            if (track.name != "@!_2") continue;
            ++renamedTracks;
            EXPECT_EQ(track.nameHash, hashName("@!_2"));
        }
        EXPECT_EQ(renamedTracks, 1) << animation.name;
    }

    // Two joints of one name.
    file.nodes[static_cast<std::size_t>(arm.upper)].name = "Aa";
    ImportedSet twice;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), twice, error)) << error.describe();
    EXPECT_EQ(boneNames(twice)[1], "Aa_2");
}

TEST(ImportSkeleton, BonesStartAtTheirJointsAndPointAtTheirFirstChild) {
    ArmCharacter arm = makeArmCharacter();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    const BoneData* hips = boneNamed(*result.model, "Hips");
    const BoneData* upper = boneNamed(*result.model, "Upper");
    const BoneData* lower = boneNamed(*result.model, "Lower");
    ASSERT_TRUE(hips && upper && lower);
    // Joint origins at bind: Hips (0, 1, 0), Upper (0, 1.5, 0), Lower 0.25 along the
    // elbow's tilted axis from (0, 2, 0).
    EXPECT_NEAR(hips->head.y, 1.0f, 1e-6);
    EXPECT_NEAR(upper->head.y, 1.5f, 1e-6);
    EXPECT_NEAR(hips->tail.x, 0.0f, 1e-6);
    EXPECT_NEAR(hips->tail.y, 1.5f, 1e-6);
    EXPECT_NEAR(upper->tail.y, lower->head.y, 1e-6);
    EXPECT_NEAR(upper->tail.z, lower->head.z, 1e-6);
    EXPECT_GT(lower->head.z, 0.05f);
    // The leaf points along its joint's +Y: the elbow's 20 degrees about x, then the
    // armature's turn of z up into y up.
    const double tilt = 20.0 * 3.14159265358979 / 180.0;
    const Vector3 along(lower->tail.x - lower->head.x, lower->tail.y - lower->head.y,
                        lower->tail.z - lower->head.z);
    const double size = std::sqrt(along.x * along.x + along.y * along.y + along.z * along.z);
    EXPECT_NEAR(along.x / size, 0.0, 1e-6);
    EXPECT_NEAR(along.y / size, std::sin(tilt), 1e-6);
    EXPECT_NEAR(along.z / size, -std::cos(tilt), 1e-6);
    // The rest matrix the loader builds puts the bone frame's origin on the head.
    for (const BoneData* bone : {hips, upper, lower}) {
        const Vector3 head = bone->returnMatrix.column(3);
        EXPECT_NEAR(head.x, bone->head.x, 1e-6);
        EXPECT_NEAR(head.y, bone->head.y, 1e-6);
        EXPECT_NEAR(head.z, bone->head.z, 1e-6);
    }
}

}  // namespace
}  // namespace vorel::test_support
