// The BVH reader and its forward kinematics: the CMU capture, small hand-made files that pin
// the channel order and the hierarchy rules, and every malformed input failing on its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/file_bytes.h"
#include "bvh/bvh_kinematics.h"
#include "bvh/read_bvh.h"
#include "tests/support/near.h"

namespace vorel {
namespace {

using test_support::expectNear;

// Two frames of a root that moves and turns, a child with its channels in another order and
// an End Site.
const std::string TwoJoints =
    "HIERARCHY\n"
    "ROOT Hips\n"
    "{\n"
    "  OFFSET 1 2 3\n"
    "  CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "  JOINT Chest\n"
    "  {\n"
    "    OFFSET 0 10 0\n"
    "    CHANNELS 2 Xrotation Zrotation\n"
    "    End Site\n"
    "    {\n"
    "      OFFSET 0 5 0\n"
    "    }\n"
    "  }\n"
    "}\n"
    "MOTION\n"
    "Frames: 2\n"
    "Frame Time: 0.5\n"
    "0 0 0 0 0 0 0 0\n"
    "10 20 30 90 0 0 0 90\n";

BvhMotion readText(const std::string& text) {
    BvhMotion motion;
    LoadError error;
    EXPECT_TRUE(readBvh(text, "hand.bvh", motion, error)) << error.describe();
    return motion;
}

// The one line a bad text fails with.
std::string failureOf(const std::string& text) {
    BvhMotion motion;
    LoadError error;
    if (readBvh(text, "bad.bvh", motion, error)) return "accepted";
    EXPECT_TRUE(motion.joints.empty() && motion.values.empty())
        << "a failed read leaves data behind";
    return error.describe();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string cmuText() {
    std::string text;
    LoadError error;
    EXPECT_TRUE(readFileBytes(VOREL_CMU_BVH, text, &error)) << error.describe();
    return text;
}

Vector3 origin(const Matrix4& m) {
    return m.column(3);
}

TEST(ReadBvhHierarchy, CmuCaptureHasItsJointsChannelsAndFrames) {
    BvhMotion motion;
    LoadError error;
    ASSERT_TRUE(readBvhFile(VOREL_CMU_BVH, motion, error)) << error.describe();
    int endSites = 0;
    for (const BvhJoint& joint : motion.joints) endSites += joint.endSite ? 1 : 0;
    EXPECT_EQ(31u, motion.joints.size() - static_cast<std::size_t>(endSites));
    EXPECT_EQ(7, endSites);
    EXPECT_EQ(6 + 30 * 3, motion.valuesPerFrame);
    EXPECT_EQ(443, motion.frameCount);
    EXPECT_DOUBLE_EQ(0.0083333, motion.frameTime);
    ASSERT_EQ(static_cast<std::size_t>(443 * motion.valuesPerFrame), motion.values.size());
    // An honest file is reserved for once, exactly.
    EXPECT_EQ(motion.values.size(), motion.values.capacity());

    const BvhJoint& hips = motion.joints[0];
    EXPECT_EQ("Hips", hips.name);
    EXPECT_EQ(-1, hips.parent);
    const std::vector<BvhChannel> rootChannels = {BvhChannel::Xposition, BvhChannel::Yposition,
                                                  BvhChannel::Zposition, BvhChannel::Zrotation,
                                                  BvhChannel::Yrotation, BvhChannel::Xrotation};
    EXPECT_EQ(rootChannels, hips.channels);
    EXPECT_EQ("LeftUpLeg", motion.joints[2].name);
    EXPECT_EQ(1, motion.joints[2].parent);
    EXPECT_EQ(9, motion.joints[2].firstValue);
    expectNear(motion.joints[2].offset, Vector3(1.55020f, -1.87941f, 0.79896f));
    EXPECT_TRUE(motion.joints[6].endSite);
    EXPECT_EQ("LeftToeBase_end", motion.joints[6].name);
    EXPECT_TRUE(motion.joints[6].channels.empty());
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        EXPECT_LT(motion.joints[j].parent, static_cast<int>(j)) << motion.joints[j].name;
    }
    EXPECT_EQ(-11.9353f, motion.values[0]);
    EXPECT_EQ(2.978f, motion.values[2]);
    // The second frame's first rotation.
    EXPECT_EQ(-164.3840f, motion.values[static_cast<std::size_t>(motion.valuesPerFrame) + 3]);
}

TEST(ReadBvhHierarchy, ChannelsInAnyOrderOnAnyJointAndSeveralRoots) {
    const BvhMotion motion = readText(
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 1 Yrotation\n JOINT B\n {\n"
        "  OFFSET 1 0 0\n  CHANNELS 4 Zposition Xrotation Xposition Yrotation\n"
        "  End Site\n  {\n   OFFSET 1 0 0\n  }\n }\n}\n"
        "ROOT C\n{\n OFFSET 5 0 0\n CHANNELS 0\n End Site\n {\n  OFFSET 0 1 0\n }\n}\n"
        "MOTION\nFrames: 1\nFrame Time: 0.04\n1 2 3 4 5\n");
    ASSERT_EQ(5u, motion.joints.size());
    EXPECT_EQ(-1, motion.joints[0].parent);
    EXPECT_EQ(0, motion.joints[1].parent);
    EXPECT_EQ(-1, motion.joints[3].parent);
    EXPECT_EQ("C", motion.joints[3].name);
    EXPECT_EQ(3, motion.joints[4].parent);
    EXPECT_EQ(1, motion.joints[1].firstValue);
    EXPECT_EQ(5, motion.joints[3].firstValue);
    EXPECT_EQ(5, motion.valuesPerFrame);
    const std::vector<BvhChannel> order = {BvhChannel::Zposition, BvhChannel::Xrotation,
                                           BvhChannel::Xposition, BvhChannel::Yrotation};
    EXPECT_EQ(order, motion.joints[1].channels);
    EXPECT_DOUBLE_EQ(0.04, motion.frameTime);
}

TEST(ReadBvhHierarchy, HandMadeFilesOnDiskRead) {
    BvhMotion motion;
    LoadError error;
    ASSERT_TRUE(readBvhFile(VOREL_BVH_DATA "/two_roots.bvh", motion, error)) << error.describe();
    ASSERT_EQ(5u, motion.joints.size());
    EXPECT_EQ(-1, motion.joints[2].parent);
    EXPECT_EQ("Right", motion.joints[2].name);
    EXPECT_EQ("Arm_end", motion.joints[4].name);
    EXPECT_EQ(3, motion.frameCount);
    EXPECT_EQ(90.0f, motion.values.back());
    ASSERT_TRUE(readBvhFile(VOREL_BVH_DATA "/every_channel_order.bvh", motion, error))
        << error.describe();
    EXPECT_EQ(6, motion.frameCount);
    EXPECT_EQ(28, motion.valuesPerFrame);
}

TEST(ReadBvhHierarchy, EndSiteNamesAreMadeUnique) {
    const BvhMotion motion = readText(
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 1 Xrotation\n"
        " JOINT A_end\n {\n  OFFSET 0 1 0\n  CHANNELS 1 Xrotation\n"
        "  End Site\n  {\n   OFFSET 0 1 0\n  }\n }\n"
        " End Site\n {\n  OFFSET 1 0 0\n }\n End Site\n {\n  OFFSET 2 0 0\n }\n}\n"
        "MOTION\nFrames: 0\nFrame Time: 1\n");
    ASSERT_EQ(5u, motion.joints.size());
    EXPECT_EQ("A_end", motion.joints[1].name);
    EXPECT_EQ("A_end_end", motion.joints[2].name);
    EXPECT_EQ("A_end_2", motion.joints[3].name);
    EXPECT_EQ("A_end_3", motion.joints[4].name);
    EXPECT_EQ(0, motion.frameCount);
}

TEST(ReadBvhHierarchy, LineEndsTabsAndSignsAreAllRead) {
    std::string text = TwoJoints;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.replace(at, 1, "\r\n");
    }
    const BvhMotion crlf = readText(text);
    const BvhMotion crOnly =
        readText(replaced(replaced(TwoJoints, "\n0 0 0", "\r0\t0 0"), "\n10 20", "\r+10 20"));
    const BvhMotion plain = readText(TwoJoints);
    EXPECT_EQ(plain.values, crlf.values);
    EXPECT_EQ(plain.values, crOnly.values);
    EXPECT_EQ(2, crOnly.frameCount);
}

TEST(BvhKinematics, RotationsApplyInTheOrderTheChannelsList) {
    const BvhMotion motion = readText(
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 2 Zrotation Xrotation\n"
        " End Site\n {\n  OFFSET 0 0 1\n }\n}\n"
        "ROOT B\n{\n OFFSET 0 0 0\n CHANNELS 2 Xrotation Zrotation\n"
        " End Site\n {\n  OFFSET 0 0 1\n }\n}\n"
        "MOTION\nFrames: 1\nFrame Time: 1\n90 90 90 90\n");
    std::vector<Matrix4> world;
    bvhWorldTransforms(motion, 0, world);
    ASSERT_EQ(4u, world.size());
    // Rz(90) * Rx(90) takes +Z to -Y, then to +X; Rx(90) * Rz(90) leaves +Z at -Y.
    expectNear(origin(world[1]), Vector3(1.0f, 0.0f, 0.0f));
    expectNear(origin(world[3]), Vector3(0.0f, -1.0f, 0.0f));
}

TEST(BvhKinematics, PositionChannelsAddToTheOffsetAndChainsCompose) {
    const BvhMotion motion = readText(TwoJoints);
    std::vector<Matrix4> world;
    bvhWorldTransforms(motion, -1, world);
    ASSERT_EQ(3u, world.size());
    expectNear(origin(world[0]), Vector3(1.0f, 2.0f, 3.0f));
    expectNear(origin(world[1]), Vector3(1.0f, 12.0f, 3.0f));
    expectNear(origin(world[2]), Vector3(1.0f, 17.0f, 3.0f));

    // Frame 1: the root moves by (10, 20, 30) and turns 90 degrees about Z, so the chest's
    // offset (0, 10, 0) points along -X; the chest turns 90 degrees about Z as well.
    bvhWorldTransforms(motion, 1, world);
    expectNear(origin(world[0]), Vector3(11.0f, 22.0f, 33.0f), 1e-5f);
    expectNear(origin(world[1]), Vector3(1.0f, 22.0f, 33.0f), 1e-5f);
    expectNear(origin(world[2]), Vector3(1.0f, 17.0f, 33.0f), 1e-5f);
    const Matrix4 chestLocal = bvhLocalTransform(motion, 1, 1);
    expectNear(origin(chestLocal), Vector3(0.0f, 10.0f, 0.0f));
    expectNear(transformPoint(chestLocal, Vector3(0.0f, 5.0f, 0.0f)), Vector3(-5.0f, 10.0f, 0.0f),
               1e-5f);
}

TEST(BvhKinematics, ChannelsOnANonRootJointMoveItsSubtree) {
    const BvhMotion motion = readText(
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 1 Yrotation\n JOINT B\n {\n"
        "  OFFSET 1 0 0\n  CHANNELS 2 Yposition Yrotation\n  End Site\n  {\n   OFFSET 1 0 0\n  }\n"
        " }\n}\nMOTION\nFrames: 1\nFrame Time: 1\n90 3 -90\n");
    std::vector<Matrix4> world;
    bvhWorldTransforms(motion, 0, world);
    // A turns +X to -Z; B sits at (0, 3, -1) and turns back, so its end lies one further along +X.
    expectNear(origin(world[1]), Vector3(0.0f, 3.0f, -1.0f), 1e-6f);
    expectNear(origin(world[2]), Vector3(1.0f, 3.0f, -1.0f), 1e-6f);
}

TEST(BvhKinematics, ADeepChainReadsAndComposesWithoutRecursion) {
    const int depth = 100000;
    std::string text = "HIERARCHY\nROOT j0\n{\nOFFSET 0 0 0\nCHANNELS 1 Xposition\n";
    for (int j = 1; j < depth; ++j) text += "JOINT j" + std::to_string(j) + "\n{\nOFFSET 0 1 0\n";
    for (int j = 0; j < depth; ++j) text += "}\n";
    text += "MOTION\nFrames: 1\nFrame Time: 1\n2\n";
    const BvhMotion motion = readText(text);
    ASSERT_EQ(static_cast<std::size_t>(depth), motion.joints.size());
    EXPECT_EQ(depth - 2, motion.joints.back().parent);
    std::vector<Matrix4> world;
    bvhWorldTransforms(motion, 0, world);
    expectNear(origin(world.back()), Vector3(2.0f, static_cast<float>(depth - 1), 0.0f));
}

TEST(ReadBvh, AMiscountedFramesLineReadsTheMotionLinesPresentAndSaysSo) {
    for (const int declared : {0, 1, 3, 3069}) {
        const BvhMotion motion =
            readText(replaced(TwoJoints, "Frames: 2", "Frames: " + std::to_string(declared)));
        EXPECT_EQ(motion.frameCount, 2);
        EXPECT_EQ(motion.declaredFrameCount, declared);
        EXPECT_EQ(motion.values.size(), 16u);
        EXPECT_EQ(frameCountWarning(motion), "'Frames:' says " + std::to_string(declared) +
                                                 ", but 2 motion lines follow; all 2 are used");
    }
    EXPECT_EQ(frameCountWarning(readText(TwoJoints)), "");
}

TEST(ReadBvhBadInput, EachFaultFailsOnItsLine) {
    struct Case {
        std::string text;
        std::string line;
    };
    const Case cases[] = {
        {"", "bad.bvh: line 1: the file is empty: expected HIERARCHY"},
        {std::string("glTF\x02\0\0\0", 8),
         "bad.bvh: line 1: expected HIERARCHY, found 'glTF?\?\?\?'"},
        {replaced(TwoJoints,
                  "MOTION\nFrames: 2\nFrame Time: 0.5\n0 0 0 0 0 0 0 0\n10 20 30 90 0 0 0 90\n",
                  ""),
         "bad.bvh: line 15: the file ends before MOTION"},
        {replaced(TwoJoints, "MOTION\n", ""),
         "bad.bvh: line 16: expected ROOT or MOTION, found 'Frames:'"},
        {replaced(TwoJoints, "30 90 0 0 0 90", "30 90 0 0 0"),
         "bad.bvh: line 20: a motion line has 7 values, the channels need 8"},
        {replaced(TwoJoints, "30 90 0 0 0 90", "30 90 0 0 0 90 0"),
         "bad.bvh: line 20: a motion line has 9 values, the channels need 8"},
        {replaced(TwoJoints, "Xrotation Zrotation", "Xrotation Wrotation"),
         "bad.bvh: line 9: unknown channel 'Wrotation'"},
        {replaced(TwoJoints, "      OFFSET 0 5 0\n", "      OFFSET 0 5 0\n JOINT Toe\n"),
         "bad.bvh: line 13: an End Site holds only an OFFSET, found 'JOINT'"},
        {replaced(TwoJoints, "      OFFSET 0 5 0\n", "      OFFSET 0 5 0\n CHANNELS 1 Xrotation\n"),
         "bad.bvh: line 13: an End Site holds only an OFFSET, found 'CHANNELS'"},
        {replaced(TwoJoints, "JOINT Chest", "JOINT"), "bad.bvh: line 6: JOINT without a name"},
        {replaced(TwoJoints, "JOINT Chest\n  {", "JOINT {"),
         "bad.bvh: line 6: JOINT without a name"},
        {replaced(TwoJoints, "ROOT Hips", "ROOT"), "bad.bvh: line 2: ROOT without a name"},
        {replaced(TwoJoints, "90 0 0 0 90", "90 0 nan 0 90"),
         "bad.bvh: line 20: 'nan' is not a finite number"},
        {replaced(TwoJoints, "90 0 0 0 90", "90 0 -inf 0 90"),
         "bad.bvh: line 20: '-inf' is not a finite number"},
        {replaced(TwoJoints, "90 0 0 0 90", "90 0 1e39 0 90"),
         "bad.bvh: line 20: '1e39' is too large"},
        {replaced(TwoJoints, "90 0 0 0 90", "90 0 1e999 0 90"),
         "bad.bvh: line 20: '1e999' is out of range"},
        {replaced(TwoJoints, "OFFSET 0 10 0", "OFFSET 0 inf 0"),
         "bad.bvh: line 8: 'inf' is not a finite number"},
        {replaced(TwoJoints, "OFFSET 0 10 0", "OFFSET 0 1O 0"),
         "bad.bvh: line 8: '1O' is not a number"},
        // Blocks opened deeper than the file closes them.
        {replaced(TwoJoints, "  }\n}\nMOTION", "  }\nMOTION"),
         "bad.bvh: line 15: MOTION inside joint 'Hips': 1 block(s) not closed with '}'"},
        {replaced(TwoJoints, "}\nMOTION", "}\n}\nMOTION"),
         "bad.bvh: line 16: expected ROOT or MOTION, found '}'"},
        {replaced(TwoJoints, "    OFFSET 0 10 0\n", ""),
         "bad.bvh: line 13: joint 'Chest' has no OFFSET"},
        {replaced(TwoJoints, "    OFFSET 0 10 0\n", "    OFFSET 0 10 0\n OFFSET 1 1 1\n"),
         "bad.bvh: line 9: joint 'Chest' has a second OFFSET"},
        {replaced(TwoJoints, "    CHANNELS 2 Xrotation Zrotation\n",
                  "    CHANNELS 2 Xrotation Zrotation\n CHANNELS 0\n"),
         "bad.bvh: line 10: joint 'Chest' has a second CHANNELS"},
        {replaced(TwoJoints, "CHANNELS 2", "CHANNELS -2"),
         "bad.bvh: line 9: CHANNELS needs a whole number of 0 or more, found '-2'"},
        {replaced(TwoJoints, "CHANNELS 2 Xrotation Zrotation", "CHANNELS 3 Xrotation Zrotation"),
         "bad.bvh: line 10: unknown channel 'End'"},
        {replaced(TwoJoints, "End Site", "End Sight"),
         "bad.bvh: line 10: expected 'Site' after 'End'"},
        {replaced(TwoJoints, "JOINT Chest\n  {", "JOINT Chest\n  ("),
         "bad.bvh: line 7: expected '{' after JOINT Chest, found '('"},
        {replaced(TwoJoints, "Frames: 2", "Frames: -2"),
         "bad.bvh: line 17: Frames: needs a whole number of 0 or more, found '-2'"},
        {replaced(TwoJoints, "Frames: 2", "Frames: 99999999999"),
         "bad.bvh: line 17: Frames: needs a whole number of 0 or more, found '99999999999'"},
        {replaced(TwoJoints, "Frame Time: 0.5", "Frame Time: 0"),
         "bad.bvh: line 18: Frame Time: needs a positive number of seconds up to 3600, found '0'"},
        {replaced(TwoJoints, "Frame Time: 0.5", "Frame Time: nan"),
         "bad.bvh: line 18: 'nan' is not a finite number"},
        {replaced(TwoJoints, "Frame Time: 0.5", "FrameTime: 0.5"),
         "bad.bvh: line 18: expected 'Frame Time:', found 'FrameTime:'"},
        {replaced(TwoJoints, "Frame Time: 0.5\n0 0", "Frame Time: 0.5 0 0"),
         "bad.bvh: line 18: unexpected '0' after the frame time"},
        {"HIERARCHY\nROOT A\n{\nOFFSET 0 0 0\nCHANNELS 0\n}\nMOTION\nFrames: 0\nFrame Time: 1\n",
         "bad.bvh: line 7: the hierarchy has no channels"},
        {"HIERARCHY\nMOTION\n", "bad.bvh: line 2: expected ROOT, found 'MOTION'"},
        {"HIERARCHY\nROOT A\x01\n{\n", "bad.bvh: line 2: ROOT name holds a control character"},
    };
    for (const Case& bad : cases) EXPECT_EQ(bad.line, failureOf(bad.text)) << bad.text;
}

TEST(ReadBvhBadInput, TruncatedCaptureFailsWhereverItIsCut) {
    const std::string text = cmuText();
    ASSERT_TRUE(text.size() > 100000);
    const std::size_t motion = text.find("MOTION");
    const std::size_t lastLine = text.rfind('\n', text.find_last_not_of("\r\n")) + 1;
    const std::size_t cuts[] = {
        9,           200,           motion - 10,     motion + 3,   motion + 12,
        motion + 30, motion + 2000, text.size() / 2, lastLine + 10};
    for (std::size_t cut : cuts) {
        const std::string line = failureOf(text.substr(0, cut));
        EXPECT_EQ(0u, line.find("bad.bvh: line ")) << "cut at " << cut << ": " << line;
    }
    EXPECT_EQ("accepted", failureOf(text.substr(0, text.find_last_not_of("\r\n") + 1)));
    // Cut between two motion lines, the capture reads as one whose Frames: line overcounts:
    // what is there is used, and the miscount is there to be warned about.
    const BvhMotion shorter = readText(text.substr(0, lastLine - 1));
    EXPECT_EQ(shorter.frameCount, shorter.declaredFrameCount - 1);
    EXPECT_NE(frameCountWarning(shorter), "");
}

TEST(ReadBvhBadInput, MissingFileFailsWithAReason) {
    BvhMotion motion;
    LoadError error;
    EXPECT_FALSE(readBvhFile("/nonexistent/capture.bvh", motion, error));
    EXPECT_EQ("/nonexistent/capture.bvh", error.file);
    EXPECT_FALSE(error.message.empty());
}

}  // namespace
}  // namespace vorel
