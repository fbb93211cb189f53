// retargetMotion from small captures onto the default dancer (and onto the imported robot),
// checked through the animation it becomes and the figure that animation poses: directions at
// every frame whatever the rest poses, twist, the pelvis's height, travel and turn, unmapped
// bones, the skirt, the facing, and what it refuses.
#include "retarget/retarget_motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "dancer/body_proportions.h"
#include "dancer/pose_solver.h"
#include "gltf/import_gltf.h"
#include "math/pi.h"
#include "retarget/animation_poser.h"
#include "retarget/dancer_skirt.h"
#include "retarget/key_reduction.h"
#include "skeleton/bone_node.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/retarget/bone_directions.h"
#include "tests/retarget/robot_set.h"
#include "tests/retarget/test_capture.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

struct Retargeted {
    SourceMotion source;
    RetargetedMotion motion;
    bool skirtCleared = false;
    std::unique_ptr<AnimationData> animation;
};

BoneMap parsedMap(const std::string& text) {
    BoneMap map;
    LoadError error;
    EXPECT_TRUE(parseBoneMap(text, "map.txt", map, error)) << error.describe();
    return map;
}

// The mapping alone: every mapped bone follows its source bone, feet not planted.
RetargetOptions unplanted() {
    RetargetOptions options;
    options.plantFeet = false;
    return options;
}

Retargeted retarget(const SourceMotion& source, const RetargetOptions& options = unplanted(),
                    const BoneMap& map = cmuBoneMap()) {
    Retargeted result;
    result.source = source;
    JointGroups groups;
    LoadError error;
    EXPECT_TRUE(resolveBoneMap(map, source, listBones(defaultDancer()), groups, error))
        << error.describe();
    RetargetOptions withSkirt = options;
    result.skirtCleared = addDancerSkirtRule(listBones(defaultDancer()), withSkirt);
    std::string problem;
    EXPECT_TRUE(retargetMotion(source, defaultDancer(), groups, withSkirt, result.motion, problem))
        << problem;
    result.animation =
        buildReducedAnimation(result.motion, listBones(defaultDancer()), toleranceForHeight(221.0))
            .data;
    return result;
}

// The posed bone of that name at a source frame: its world head, tail and matrix.
struct PosedBone {
    Point3d head;
    Point3d tail;
    Matrix4 world;
};

PosedBone posedBone(AnimationPoser& poser, const Retargeted& r, int frame,
                    const std::string& name) {
    poser.pose(static_cast<float>(frame * r.source.frameTime));
    const int bone = poser.bones().find(name);
    EXPECT_GE(bone, 0) << name;
    const BoneData& data = *poser.bones().bones[static_cast<std::size_t>(bone)];
    const Matrix4& world = poser.boneWorlds()[static_cast<std::size_t>(bone)];
    return {toPoint3d(transformPoint(world, data.head)),
            toPoint3d(transformPoint(world, data.tail)), world};
}

Point3d direction(const PosedBone& bone) {
    const Point3d d = difference(bone.tail, bone.head);
    return scaled(d, 1.0 / length(d));
}

WorstAngle worstDirection(const Retargeted& r) {
    AnimationPoser poser(defaultDancer(), *r.animation);
    WorstAngle worst;
    for (int f = 0; f < r.source.frameCount; ++f) {
        poser.pose(static_cast<float>(f * r.source.frameTime));
        compareDirections(defaultDancer(), poser.boneWorlds(), r.source, f, cmuSegments(), worst);
    }
    return worst;
}

// A capture that swings every joint through large, different turns over its frames.
TestCapture everyJointMoving(int frames) {
    TestCapture capture(frames);
    const char* joints[] = {"Hips",       "LowerBack",    "Spine",       "Spine1",      "Neck1",
                            "Head",       "LeftShoulder", "LeftArm",     "LeftForeArm", "LeftHand",
                            "RightArm",   "RightForeArm", "LeftUpLeg",   "LeftLeg",     "LeftFoot",
                            "RightUpLeg", "RightLeg",     "RightToeBase"};
    for (int f = 0; f < frames; ++f) {
        for (int j = 0; j < static_cast<int>(std::size(joints)); ++j) {
            const float phase = 0.3f * static_cast<float>(f) + static_cast<float>(j);
            capture.rotate(joints[j], f, 40.0f * std::sin(phase), 60.0f * std::cos(1.3f * phase),
                           50.0f * std::sin(0.7f * phase + 1.0f));
        }
        capture.place(f, 3.0f * std::sin(0.1f * static_cast<float>(f)),
                      15.0f + std::cos(0.2f * static_cast<float>(f)), 0.5f);
    }
    return capture;
}

TEST(RetargetMotion, EveryMappedBonePointsAlongItsSourceBoneAtEveryFrame) {
    const Retargeted r = retarget(everyJointMoving(60).source());
    const WorstAngle worst = worstDirection(r);
    EXPECT_LT(worst.degrees, 2.0) << worst.bone << " at frame " << worst.frame;
    EXPECT_EQ(r.motion.mappedBones, cmuSegments().size());
}

TEST(RetargetMotion, ATPoseRestPutsTheHangingArmsOutSideways) {
    // Frame 0 is the capture's own rest: a T-pose, where the dancer's arms hang down at rest.
    const Retargeted r = retarget(TestCapture(2).source());
    AnimationPoser poser(defaultDancer(), *r.animation);
    const Point3d left = direction(posedBone(poser, r, 0, "upper_arm_l"));
    const Point3d right = direction(posedBone(poser, r, 0, "forearm_r"));
    EXPECT_LT(angleDegrees(left, {1.0, 0.0, 0.0}), 0.1);
    EXPECT_LT(angleDegrees(right, {-1.0, 0.0, 0.0}), 0.1);
    EXPECT_LT(angleDegrees(direction(posedBone(poser, r, 0, "thigh_l")), {0.0, -1.0, 0.0}), 0.1);
}

TEST(RetargetMotion, TwistAboutABoneFollowsTheSourcesChangeOfTwist) {
    // The left forearm lies along +X in the T-pose: turning it about X twists it in place.
    TestCapture capture(7);
    for (int f = 0; f < 7; ++f)
        capture.rotate("LeftForeArm", f, 0.0f, 0.0f, 10.0f * static_cast<float>(f));
    const Retargeted r = retarget(capture.source());
    AnimationPoser poser(defaultDancer(), *r.animation);
    const PosedBone start = posedBone(poser, r, 0, "forearm_l");
    for (int f = 1; f < 7; ++f) {
        const PosedBone now = posedBone(poser, r, f, "forearm_l");
        EXPECT_LT(angleDegrees(direction(now), direction(start)), 0.05) << "frame " << f;
        // The turn since frame 0 is about the bone itself, by the source's angle.
        const AffineTransform turn = AffineTransform::compose(
            [&] {
                AffineTransform inverse;
                AffineTransform::fromMatrix4(start.world).inverted(inverse);
                return inverse;
            }(),
            AffineTransform::fromMatrix4(now.world));
        bool sheared = false;
        const Quaternion4d q = decomposeTrs(turn, sheared).rotation;
        EXPECT_NEAR(angleBetweenDegrees(q, Quaternion4d{}), 10.0 * f, 0.1) << "frame " << f;
        const Point3d axis{q.x, q.y, q.z};
        EXPECT_GT(std::fabs(dot(axis, direction(now))) / length(axis), 0.9999) << "frame " << f;
    }
}

TEST(RetargetMotion, PelvisHeightAndTravelAreScaledByTheLegLengthsAndCentred) {
    TestCapture capture(11);
    for (int f = 0; f <= 10; ++f) {
        capture.place(f, 4.0f + 0.2f * static_cast<float>(f),
                      TestCapture::StandingHeight - 0.1f * static_cast<float>(f), -1.0f);
    }
    const Retargeted r = retarget(capture.source());
    // The dancer's hips (198) above her soles (the lowest vertex), over the capture's leg.
    float soles = defaultDancer().positions.front().y;
    for (const Vector3& p : defaultDancer().positions) soles = std::min(soles, p.y);
    const double ratio = (198.0 - soles) / TestCapture::StandingHeight;
    EXPECT_NEAR(r.motion.legRatio, ratio, 1e-6);
    AnimationPoser poser(defaultDancer(), *r.animation);
    for (int f = 0; f <= 10; ++f) {
        const PosedBone pelvis = posedBone(poser, r, f, "pelvis");
        // The path runs x 4 to 6 and z -1: its middle goes on the axis.
        EXPECT_NEAR(pelvis.head.x, ratio * (0.2 * f - 1.0), 1e-3) << "frame " << f;
        EXPECT_NEAR(pelvis.head.y, soles + ratio * (TestCapture::StandingHeight - 0.1 * f), 1e-3)
            << "frame " << f;
        EXPECT_NEAR(pelvis.head.z, 0.0, 1e-3) << "frame " << f;
    }
    RetargetOptions inPlace = unplanted();
    inPlace.inPlace = true;
    const Retargeted still = retarget(capture.source(), inPlace);
    AnimationPoser stillPoser(defaultDancer(), *still.animation);
    for (int f = 0; f <= 10; ++f) {
        const PosedBone pelvis = posedBone(stillPoser, still, f, "pelvis");
        EXPECT_NEAR(pelvis.head.x, 0.0, 1e-3);
        EXPECT_NEAR(pelvis.head.z, 0.0, 1e-3);
        EXPECT_NEAR(pelvis.head.y, soles + ratio * (TestCapture::StandingHeight - 0.1 * f), 1e-3);
    }
}

TEST(RetargetMotion, ThePelvisTurnsAboutTheVerticalWithTheRoot) {
    TestCapture capture(2);
    capture.rotate("Hips", 1, 0.0f, 90.0f, 0.0f);
    const Retargeted r = retarget(capture.source());
    AnimationPoser poser(defaultDancer(), *r.animation);
    // A quarter turn to the left takes the left hip (+X) to the back (-Z).
    const PosedBone thigh = posedBone(poser, r, 1, "thigh_l");
    const PosedBone pelvis = posedBone(poser, r, 1, "pelvis");
    EXPECT_NEAR(thigh.head.x - pelvis.head.x, 0.0, 1e-3);
    EXPECT_NEAR(thigh.head.z - pelvis.head.z, -10.0, 1e-3);
    EXPECT_NEAR(thigh.head.y, pelvis.head.y, 1e-3);
}

TEST(RetargetMotion, BonesTheMapLeavesOutStayAtRestOnTheirParent) {
    TestCapture capture(3);
    for (int f = 0; f < 3; ++f) {
        capture.rotate("Spine1", f, 0.0f, 30.0f * static_cast<float>(f), 0.0f);
        capture.rotate("LeftArm", f, 70.0f, 0.0f, 0.0f);
        capture.rotate("RightArm", f, 0.0f, 0.0f, 0.0f);
    }
    BoneMap map = cmuBoneMap();
    map.entries.erase(std::remove_if(map.entries.begin(), map.entries.end(),
                                     [](const BoneMapEntry& e) {
                                         return e.source.rfind("Left", 0) == 0 &&
                                                e.source.find("Arm") != std::string::npos;
                                     }),
                      map.entries.end());
    const Retargeted r = retarget(capture.source(), {}, map);
    AnimationPoser poser(defaultDancer(), *r.animation);
    for (int f = 0; f < 3; ++f) {
        // The arms' chains hang from the shoulder, which the map still drives.
        const PosedBone shoulder = posedBone(poser, r, f, "shoulder_l");
        const PosedBone arm = posedBone(poser, r, f, "upper_arm_l");
        const PosedBone forearm = posedBone(poser, r, f, "forearm_l");
        // They move with the shoulder as if fixed to it: the same world matrix.
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(arm.world.element(i), shoulder.world.element(i), 1e-4) << "frame " << f;
            EXPECT_NEAR(forearm.world.element(i), shoulder.world.element(i), 1e-4) << "frame " << f;
        }
    }
    // The right arm, still mapped, follows the capture's T-pose arm, turned with its chest.
    const double turn = 30.0 * Pi / 180.0;
    EXPECT_LT(angleDegrees(direction(posedBone(poser, r, 1, "upper_arm_r")),
                           {-std::cos(turn), 0.0, std::sin(turn)}),
              0.1);
}

TEST(RetargetMotion, TheDancersSkirtClearsARaisedThighAsInHerOwnDances) {
    TestCapture capture(2);
    capture.rotate("LeftUpLeg", 1, 0.0f, 0.0f, -80.0f);  // thigh swung forward
    const Retargeted r = retarget(capture.source());
    EXPECT_TRUE(r.skirtCleared);
    AnimationPoser poser(defaultDancer(), *r.animation);
    // Her own pose solver, given the same thigh, flares the front panel by the same rule.
    Pose pose;
    pose.joints.push_back({"thigh_l", {80.0f, 0.0f, 0.0f}});
    const SkeletonLayout layout = makeSkeletonLayout(BodyProportions{});
    std::vector<BoneTransform> solved;
    std::string error;
    ASSERT_TRUE(solvePose(pose, layout, solved, error)) << error;
    const PosedBone thigh = posedBone(poser, r, 1, "thigh_l");
    EXPECT_LT(angleDegrees(direction(thigh),
                           {0.0, -std::cos(80.0 * Pi / 180), std::sin(80.0 * Pi / 180)}),
              0.1);
    for (const char* panel : {"skirt_front", "skirt_front_l", "skirt_l", "skirt_back"}) {
        const PosedBone ours = posedBone(poser, r, 1, panel);
        const PosedBone rest = posedBone(poser, r, 0, panel);
        const int index = layout.find(panel);
        const BoneLayout& bone = layout.bones[static_cast<std::size_t>(index)];
        BoneNode node(defaultDancer().findBone(panel));
        node.setTransform(solved[static_cast<std::size_t>(index)]);
        const Point3d hers = toPoint3d(transformPoint(node.local, bone.tail));
        EXPECT_LT(length(difference(ours.tail, hers)), 0.05) << panel;
        if (std::string(panel) == "skirt_front") {
            EXPECT_GT(ours.tail.z, rest.tail.z + 5.0);
        }
    }
}

TEST(RetargetMotion, TheGenericSolveLeavesTheSkirtToTheHookTheCallerGives) {
    TestCapture capture(2);
    capture.rotate("LeftUpLeg", 1, 0.0f, 0.0f, -80.0f);  // thigh swung forward
    const SourceMotion source = capture.source();
    JointGroups groups;
    LoadError error;
    ASSERT_TRUE(resolveBoneMap(cmuBoneMap(), source, listBones(defaultDancer()), groups, error))
        << error.describe();
    // No hook: the front panel keeps its rest on the pelvis, through the raised thigh.
    RetargetedMotion plain;
    std::string problem;
    ASSERT_TRUE(retargetMotion(source, defaultDancer(), groups, {}, plain, problem)) << problem;
    const std::size_t panel =
        static_cast<std::size_t>(listBones(defaultDancer()).find("skirt_front"));
    EXPECT_LT(angleBetweenDegrees(plain.motion(1, panel).rotation, Quaternion4d{}), 1e-3);
    // A hook sees every bone's world rotation and what it sets is what the motions follow.
    RetargetOptions turning = unplanted();
    int calls = 0;
    const Quaternion4d quarter{0.0, 0.0, std::sin(Pi / 4.0), std::cos(Pi / 4.0)};
    turning.adjustWorldRotations = [&](std::vector<Quaternion4d>& rotations) {
        EXPECT_EQ(rotations.size(), listBones(defaultDancer()).bones.size());
        rotations[panel] = quarter;
        ++calls;
    };
    RetargetedMotion turned;
    ASSERT_TRUE(retargetMotion(source, defaultDancer(), groups, turning, turned, problem))
        << problem;
    EXPECT_EQ(calls, 2);
    const auto animation =
        buildReducedAnimation(turned, listBones(defaultDancer()), toleranceForHeight(221.0)).data;
    AnimationPoser poser(defaultDancer(), *animation);
    for (int f = 0; f < 2; ++f) {
        poser.pose(static_cast<float>(f * source.frameTime));
        const AffineTransform world = AffineTransform::fromMatrix4(poser.boneWorlds()[panel]);
        EXPECT_LT(angleBetweenDegrees(rotationOf(world), quarter), 0.1) << "frame " << f;
    }
}

TEST(RetargetMotion, ACaptureFacingAwayStillPutsItsLeftArmOnTheDancersLeft) {
    TestCapture capture(2, 1.0 / 30.0, true);
    capture.rotate("LeftArm", 1, 0.0f, 0.0f, 0.0f);
    const Retargeted r = retarget(capture.source());
    AnimationPoser poser(defaultDancer(), *r.animation);
    EXPECT_LT(angleDegrees(direction(posedBone(poser, r, 0, "upper_arm_l")), {1.0, 0.0, 0.0}), 0.1);
    EXPECT_LT(angleDegrees(direction(posedBone(poser, r, 0, "upper_arm_r")), {-1.0, 0.0, 0.0}),
              0.1);
}

TEST(RetargetMotion, AMappedSourceBoneWithoutLengthIsRefused) {
    // A hand whose finger joints all sit on it has nothing to point along.
    TestCapture capture(2);
    BoneMap map;
    map.origin = "map.txt";
    map.entries = {{"Hips", "pelvis", 1}, {"Neck", "chest", 2}, {"LeftFingerBase", "hand_l", 3}};
    SourceMotion source = capture.source();
    const int tip = source.find("LeftHandIndex1");
    const int end = source.find("LeftHandIndex1_end");
    source.rest[static_cast<std::size_t>(tip)] =
        source.rest[static_cast<std::size_t>(source.find("LeftFingerBase"))];
    source.rest[static_cast<std::size_t>(end)] = source.rest[static_cast<std::size_t>(tip)];
    JointGroups groups;
    LoadError error;
    ASSERT_TRUE(resolveBoneMap(map, source, listBones(defaultDancer()), groups, error))
        << error.describe();
    RetargetedMotion motion;
    std::string problem;
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), groups, {}, motion, problem));
    EXPECT_NE(problem.find("LeftFingerBase"), std::string::npos) << problem;
}

TEST(RetargetMotion, ASourceWithoutFramesOrWithFramesTooCloseToKeyIsRefused) {
    SourceMotion source = TestCapture(3).source();
    JointGroups groups;
    LoadError error;
    ASSERT_TRUE(resolveBoneMap(cmuBoneMap(), source, listBones(defaultDancer()), groups, error))
        << error.describe();
    RetargetedMotion motion;
    std::string problem;
    source.frameTime = 1e-9;
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), groups, {}, motion, problem));
    EXPECT_EQ(problem, "frames less than 0.1 ms apart cannot be keyed");
    source.frameCount = 0;
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), groups, {}, motion, problem));
    EXPECT_EQ(problem, "the source has no frames");
}

TEST(RetargetMotion, GroupsThatDriveNoBoneAreRefused) {
    const SourceMotion source = TestCapture(2).source();
    RetargetedMotion motion;
    std::string problem;
    const JointGroups none(listBones(defaultDancer()).bones.size());
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), none, {}, motion, problem));
    EXPECT_EQ(problem, "the map drives none of the target's bones");
    problem.clear();
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), JointGroups{}, {}, motion, problem));
    EXPECT_EQ(problem, "the map drives none of the target's bones");
}

TEST(RetargetMotion, AFrameBeyondTheRangeOfNumbersIsRefusedNotWritten) {
    SourceMotion source = TestCapture(3).source();
    JointGroups groups;
    LoadError error;
    ASSERT_TRUE(resolveBoneMap(cmuBoneMap(), source, listBones(defaultDancer()), groups, error))
        << error.describe();
    // The root lifted 1e37 units at frame 2: scaled by the leg ratio, past what a key can hold.
    const int hips = source.find("Hips");
    for (std::size_t j = 0; j < source.jointCount(); ++j) {
        if (j == static_cast<std::size_t>(hips) || source.parents[j] == hips) {
            source.frames[2 * source.jointCount() + j].translation.y = 1e37;
        }
    }
    RetargetedMotion motion;
    std::string problem;
    EXPECT_FALSE(retargetMotion(source, defaultDancer(), groups, {}, motion, problem));
    EXPECT_EQ(problem, "frame 2 moves the figure out of the range of numbers");
}

TEST(RetargetMotion, AnyFigureCanBeTheTargetThroughAMap) {
    const BoneMap map = parsedMap(
        "Hips Hips\nSpine Abdomen\nSpine1 Torso_1\nNeck1 Neck\nHead Head\n"
        "LeftShoulder ShoulderL\nLeftArm UpperArmL\nLeftForeArm LowerArmL\nLeftHand Palm2L\n"
        "LeftUpLeg UpperLegL\nLeftLeg LowerLegL\nRightArm UpperArmR\nRightUpLeg UpperLegR\n");
    const ModelData& robot = *robotSet().models.front();
    const SourceMotion source = everyJointMoving(30).source();
    JointGroups groups;
    LoadError error;
    ASSERT_TRUE(resolveBoneMap(map, source, listBones(robot), groups, error)) << error.describe();
    RetargetOptions options;
    EXPECT_FALSE(addDancerSkirtRule(listBones(robot), options));
    EXPECT_FALSE(options.adjustWorldRotations);
    RetargetedMotion motion;
    std::string problem;
    ASSERT_TRUE(retargetMotion(source, robot, groups, options, motion, problem)) << problem;
    EXPECT_EQ(motion.mappedBones, 13u);
    const auto animation =
        buildReducedAnimation(motion, listBones(robot), toleranceForHeight(221.0)).data;
    const std::vector<BoneSegment> segments = {
        {"Hips", "Hips", "Spine"},
        {"Abdomen", "Spine", "Spine1"},
        {"Torso_1", "Spine1", "Neck1"},
        {"Neck", "Neck1", "Head"},
        {"Head", "Head", "Head_end"},
        {"ShoulderL", "LeftShoulder", "LeftArm"},
        {"UpperArmL", "LeftArm", "LeftForeArm"},
        {"LowerArmL", "LeftForeArm", "LeftHand"},
        {"Palm2L", "LeftHand", "LeftHandIndex1"},
        {"UpperLegL", "LeftUpLeg", "LeftLeg"},
        {"LowerLegL", "LeftLeg", "LeftFoot"},
        {"UpperArmR", "RightArm", "RightForeArm"},
        {"UpperLegR", "RightUpLeg", "RightLeg"},
    };
    AnimationPoser poser(robot, *animation);
    WorstAngle worst;
    for (int f = 0; f < source.frameCount; ++f) {
        poser.pose(static_cast<float>(f * source.frameTime));
        compareDirections(robot, poser.boneWorlds(), source, f, segments, worst);
    }
    EXPECT_LT(worst.degrees, 2.0) << worst.bone << " at frame " << worst.frame;
}

}  // namespace
}  // namespace vorel
