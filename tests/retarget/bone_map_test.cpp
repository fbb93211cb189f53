// Map files and their pairing with a source and a target: every malformed line and every
// unknown name fails naming the line; a source with none of the mapped joints is an error,
// not an empty dance; built-in maps are chosen by the names the source has.
#include "retarget/bone_map.h"

#include <gtest/gtest.h>

#include "tests/dancer/default_set_fixture.h"
#include "tests/retarget/test_capture.h"

namespace vorel {
namespace {

BoneList dancerBones() {
    return listBones(*defaultSet().library->models.front());
}

std::string parseFailure(const std::string& text) {
    BoneMap map;
    LoadError error;
    EXPECT_FALSE(parseBoneMap(text, "map.txt", map, error)) << text;
    return error.describe();
}

std::string resolveFailure(const BoneMap& map, const SourceMotion& source) {
    JointGroups groups;
    LoadError error;
    EXPECT_FALSE(resolveBoneMap(map, source, dancerBones(), groups, error));
    return error.describe();
}

BoneMap parsed(const std::string& text) {
    BoneMap map;
    LoadError error;
    EXPECT_TRUE(parseBoneMap(text, "map.txt", map, error)) << error.describe();
    return map;
}

TEST(ParseBoneMap, ReadsPairsSkippingCommentsAndBlankLines) {
    const BoneMap map =
        parsed("# CMU onto the dancer\n\nHips pelvis\n  LeftArm\tupper_arm_l  # the arm\n");
    ASSERT_EQ(map.entries.size(), 2u);
    EXPECT_EQ(map.entries[1].source, "LeftArm");
    EXPECT_EQ(map.entries[1].target, "upper_arm_l");
    EXPECT_EQ(map.entries[1].line, 4);
    EXPECT_FALSE(map.builtIn);
}

TEST(ParseBoneMap, EveryMalformedLineFailsNamingIt) {
    EXPECT_EQ(parseFailure("Hips pelvis\nSpine\n"),
              "map.txt: line 2: expected two names, SOURCE_BONE TARGET_BONE");
    EXPECT_EQ(parseFailure("Hips pelvis extra\n"),
              "map.txt: line 1: expected two names, SOURCE_BONE TARGET_BONE");
    EXPECT_EQ(parseFailure("Hips pelvis\nHips spine\n"),
              "map.txt: line 2: source bone 'Hips' is already mapped on line 1");
    EXPECT_EQ(parseFailure("# nothing\n\n"), "map.txt: the map pairs no bones");
}

TEST(ResolveBoneMap, UnknownBonesOnEitherSideFailNamingTheLine) {
    const SourceMotion source = TestCapture(1).source();
    EXPECT_EQ(resolveFailure(parsed("Hips pelvis\nHipz spine\n"), source),
              "map.txt: line 2: the source has no bone named 'Hipz'");
    EXPECT_EQ(resolveFailure(parsed("Hips pelvis\n\nSpine backbone\n"), source),
              "map.txt: line 3: the target has no bone named 'backbone'");
}

TEST(ResolveBoneMap, ASourceWithNoneOfTheMappedBonesIsAnErrorNotAnEmptyDance) {
    SourceMotion source = TestCapture(1).source();
    for (std::string& name : source.names) name = "joint_" + name;
    EXPECT_EQ(resolveFailure(builtInMapFor(source), source),
              "the built-in CMU map: the source has none of the bones the built-in CMU map names "
              "(give a map "
              "with --map)");
}

TEST(ResolveBoneMap, JointsDrivingOneBoneMustLieOnOneChain) {
    const SourceMotion source = TestCapture(1).source();
    EXPECT_EQ(resolveFailure(parsed("LeftArm upper_arm_l\nRightArm upper_arm_l\n"), source),
              "map.txt: the source bones mapped onto 'upper_arm_l' do not lie on one chain");
}

TEST(ResolveBoneMap, GroupsEachBonesJointsFromTheRootOutwards) {
    const SourceMotion source = TestCapture(1).source();
    JointGroups groups;
    LoadError error;
    const BoneList bones = dancerBones();
    ASSERT_TRUE(resolveBoneMap(parsed("LowerBack pelvis\nHips pelvis\nLeftHand hand_l\n"), source,
                               bones, groups, error))
        << error.describe();
    const std::vector<int>& pelvis = groups[static_cast<std::size_t>(bones.find("pelvis"))];
    ASSERT_EQ(pelvis.size(), 2u);
    EXPECT_EQ(source.names[static_cast<std::size_t>(pelvis[0])], "Hips");
    EXPECT_EQ(source.names[static_cast<std::size_t>(pelvis[1])], "LowerBack");
    EXPECT_TRUE(groups[static_cast<std::size_t>(bones.find("spine"))].empty());
}

TEST(BuiltInBoneMaps, AreChosenByTheSourcesNamesAndMapOntoRealDancerBones) {
    SourceMotion source = TestCapture(1).source();
    EXPECT_EQ(builtInMapFor(source).origin, cmuBoneMap().origin);
    for (std::string& name : source.names) name = "mixamorig:" + name;
    EXPECT_EQ(builtInMapFor(source).origin, mixamoBoneMap().origin);
    const BoneList bones = dancerBones();
    for (const BoneMap& map : {cmuBoneMap(), mixamoBoneMap()}) {
        for (const BoneMapEntry& entry : map.entries)
            EXPECT_GE(bones.find(entry.target), 0) << entry.target;
    }
}

}  // namespace
}  // namespace vorel
