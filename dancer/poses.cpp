// The pose book: every named position the dances use, as joint angles in degrees. Poses for
// the right side are mirrors of the left ones. To change a dance's look, change it here.
#include <initializer_list>

#include "dancer/dance.h"

namespace vorel {

namespace {

// How high each kick lifts the thigh, in degrees forward from hanging straight down.
constexpr float HighKickLift = 100.0f;
constexpr float MidKickLift = 72.0f;
constexpr float LowKickLift = 50.0f;
constexpr float CancanKickLift = 95.0f;

Pose joints(std::initializer_list<JointSetting> settings, Vector3 shift = Vector3(),
            float skirtFlare = 0.0f) {
    Pose pose;
    pose.joints = settings;
    pose.pelvisShift = shift;
    pose.skirtFlare = skirtFlare;
    return pose;
}

// The settings of both poses together; where both name a bone, `extra` wins.
Pose merged(const Pose& base, const Pose& extra) {
    Pose pose = base;
    for (const JointSetting& setting : extra.joints) {
        bool replaced = false;
        for (JointSetting& existing : pose.joints) {
            if (existing.bone == setting.bone) {
                existing.angles = setting.angles;
                replaced = true;
            }
        }
        if (!replaced) pose.joints.push_back(setting);
    }
    pose.pelvisShift =
        Vector3(base.pelvisShift.x + extra.pelvisShift.x, base.pelvisShift.y + extra.pelvisShift.y,
                base.pelvisShift.z + extra.pelvisShift.z);
    pose.skirtFlare = base.skirtFlare + extra.skirtFlare;
    return pose;
}

void addWithMirror(PoseBook& book, const std::string& stem, const Pose& leftVersion) {
    book[stem + "_l"] = leftVersion;
    book[stem + "_r"] = mirrored(leftVersion);
}

// Arms held out low to the sides, hands spreading the skirt.
const Pose SkirtHold = joints({{"upper_arm_l", {0, 30, 0}},
                               {"forearm_l", {35, 0, 0}},
                               {"upper_arm_r", {0, 30, 0}},
                               {"forearm_r", {35, 0, 0}}});

// Arms out to the sides at chest height, for balance.
const Pose BalanceArms = joints({{"upper_arm_l", {10, 32, 0}},
                                 {"forearm_l", {20, 0, 0}},
                                 {"upper_arm_r", {10, 32, 0}},
                                 {"forearm_r", {20, 0, 0}}});

// The left hand set on the hip, elbow out.
const Pose LeftHandOnHip =
    joints({{"upper_arm_l", {-15, 42, -70}}, {"forearm_l", {95, 0, 0}}, {"hand_l", {-20, 0, 0}}});

// Standing leg slightly bent, the body a little lower.
Pose supportingLeg(const char* side) {
    const std::string s = side;
    return joints({{"thigh" + s, {12, 0, 0}}, {"shin" + s, {20, 0, 0}}, {"foot" + s, {-8, 0, 0}}},
                  Vector3(0.0f, -2.5f, 0.0f));
}

// A kick forward with the left leg: thigh lifted, knee straight, toes pointed the more the
// higher the kick (a low kick with pointed toes would scrape the floor).
Pose kick(float lift) {
    const float toes = 0.3f * lift;
    const Pose leg = joints({{"thigh_l", {lift, 6, 0}},
                             {"shin_l", {4, 0, 0}},
                             {"foot_l", {toes, 0, 0}},
                             {"chest", {-0.08f * lift, 0, 0}},
                             {"pelvis", {-0.06f * lift, 0, 0}}});
    return merged(merged(BalanceArms, supportingLeg("_r")), leg);
}

void addCancan(PoseBook& book) {
    book["cancan_ready"] = merged(SkirtHold, joints({{"chest", {-4, 0, 0}}}, Vector3(), 10.0f));
    addWithMirror(book, "cancan_knee",
                  merged(merged(SkirtHold, supportingLeg("_r")), joints({{"thigh_l", {80, 8, 0}},
                                                                         {"shin_l", {100, 0, 0}},
                                                                         {"foot_l", {35, 0, 0}},
                                                                         {"head", {0, 8, 10}}},
                                                                        Vector3(), 15.0f)));
    addWithMirror(book, "cancan_kick",
                  merged(merged(SkirtHold, kick(CancanKickLift)),
                         joints({{"head", {-8, 0, 0}}}, Vector3(0.0f, 2.0f, 0.0f), 20.0f)));
}

void addJoyousWalk(PoseBook& book) {
    // Left knee up high on a skip, the opposite arm swinging forward, the body bouncing up.
    // The forward arm stays nearly straight: two walks started together double its swing, and
    // a bent elbow would then lift the hand out of the picture.
    addWithMirror(book, "skip",
                  joints({{"thigh_l", {55, 0, 0}},
                          {"shin_l", {75, 0, 0}},
                          {"foot_l", {25, 0, 0}},
                          {"thigh_r", {-6, 0, 0}},
                          {"foot_r", {15, 0, 0}},
                          {"upper_arm_r", {30, 4, 0}},
                          {"forearm_r", {15, 0, 0}},
                          {"upper_arm_l", {-30, 12, 0}},
                          {"forearm_l", {25, 0, 0}},
                          {"spine", {0, 0, -6}},
                          {"chest", {-6, 0, -6}},
                          {"head", {-4, 8, 0}}},
                         Vector3(0.0f, 6.0f, 0.0f), 6.0f));
    // Landing between skips: both feet down, knees giving a little. Each bent leg lowers the
    // body 2.5; lifted back 1.5 it sinks 3.5 in all, so a kick played with it keeps its foot up.
    book["skip_land"] = merged(merged(supportingLeg("_l"), supportingLeg("_r")),
                               joints({{"upper_arm_l", {5, 14, 0}},
                                       {"forearm_l", {30, 0, 0}},
                                       {"upper_arm_r", {5, 14, 0}},
                                       {"forearm_r", {30, 0, 0}},
                                       {"chest", {-4, 0, 0}}},
                                      Vector3(0.0f, 1.5f, 0.0f), 4.0f));
}

void addStrut(PoseBook& book) {
    // Stepping across with the left foot, hip swung out to the side, chin up.
    const Pose leftStep = joints({{"thigh_l", {30, -10, 0}},
                                  {"shin_l", {35, 0, 0}},
                                  {"foot_l", {28, 0, 0}},
                                  {"pelvis", {0, -5, 6}},
                                  {"chest", {-5, 6, -8}},
                                  {"head", {-6, 0, 12}},
                                  {"upper_arm_r", {22, 8, 0}},
                                  {"forearm_r", {25, 0, 0}}},
                                 Vector3(-3.0f, 1.0f, 0.0f));
    // The free (right) arm swings; the left hand stays on the hip in both steps.
    Pose rightStep = mirrored(leftStep);
    for (JointSetting& setting : rightStep.joints) {
        if (setting.bone == "upper_arm_l") setting = {"upper_arm_r", {-15, 8, 0}};
        if (setting.bone == "forearm_l") setting = {"forearm_r", {15, 0, 0}};
    }
    book["strut_l"] = merged(leftStep, LeftHandOnHip);
    book["strut_r"] = merged(rightStep, LeftHandOnHip);
    // The closing pose: hip out, chin up, right leg turned out in front. Its foot is barely
    // pointed, since a cancan kick coming down in the same frames adds its own pointed toes.
    book["strut_pose"] = merged(LeftHandOnHip, joints({{"pelvis", {0, 6, -10}},
                                                       {"chest", {-6, -6, 10}},
                                                       {"head", {-8, 6, 25}},
                                                       {"thigh_r", {15, 8, 25}},
                                                       {"shin_r", {20, 0, 0}},
                                                       {"foot_r", {8, 0, 0}}}));
}

void addKicks(PoseBook& book) {
    book["kick_ready"] = merged(BalanceArms, merged(supportingLeg("_l"), supportingLeg("_r")));
    addWithMirror(
        book, "kick_chamber",
        merged(merged(BalanceArms, supportingLeg("_r")),
               joints({{"thigh_l", {60, 0, 0}}, {"shin_l", {85, 0, 0}}, {"foot_l", {25, 0, 0}}})));
    addWithMirror(book, "kick_high", kick(HighKickLift));
    addWithMirror(book, "kick_mid", kick(MidKickLift));
    addWithMirror(book, "kick_low", kick(LowKickLift));
}

void addSalute(PoseBook& book) {
    // Standing to attention: chest up, chin up, toes turned out.
    const Pose attention = joints({{"chest", {-5, 0, 0}},
                                   {"head", {-4, 0, 0}},
                                   {"foot_l", {0, 12, 0}},
                                   {"foot_r", {0, 12, 0}}});
    book["attention"] = attention;
    // The right hand at the brow, elbow out to the side, fingers straight.
    book["salute"] = merged(attention, joints({{"shoulder_r", {8, 0, 0}},
                                               {"upper_arm_r", {25, 62, -35}},
                                               {"forearm_r", {128, 0, 0}},
                                               {"hand_r", {-10, 0, 0}}}));
}

}  // namespace

PoseBook makePoseBook() {
    PoseBook book;
    book["rest"] = Pose();
    addCancan(book);
    addJoyousWalk(book);
    addStrut(book);
    addKicks(book);
    addSalute(book);
    return book;
}

}  // namespace vorel
