// Feet planted on the target: captures whose feet rest exactly (made by planted_capture) and
// the shared CMU capture, onto the default dancer and onto RobotExpressive, judged by the
// numbers vorel-retarget prints: foot speed in contact, drift within a contact, depth under
// the floor; and by the figure's joints, which must not jerk more than the source's do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "math/pi.h"
#include "retarget/animation_poser.h"
#include "retarget/retarget_file.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/retarget/planted_capture.h"
#include "tests/retarget/robot_set.h"
#include "tests/support/program_runner.h"

namespace vorel {
namespace {

std::string written(const TestCapture& capture, const std::string& name) {
    const std::string path = test_support::makeScratchFolder() + "/" + name + ".bvh";
    test_support::writeBytes(path, capture.bvhText());
    return path;
}

RetargetOutcome retargeted(const std::string& path, bool plant,
                           const ModelData& target = defaultDancer(), const std::string& map = {}) {
    RetargetRequest request;
    request.sourcePath = path;
    request.mapPath = map;
    request.options.plantFeet = plant;
    RetargetOutcome outcome;
    LoadError error;
    EXPECT_TRUE(retargetFile(request, target, outcome, error)) << error.describe();
    return outcome;
}

double heightOf(const ModelData& model) {
    float low = model.positions.front().y, high = low;
    for (const Vector3& p : model.positions) low = std::min(low, p.y), high = std::max(high, p.y);
    return static_cast<double>(high - low);
}

// The largest acceleration of any joint over the frames, in heights per second squared.
template <typename PositionAt>
double peakAcceleration(int frames, std::size_t joints, double frameTime, double height,
                        PositionAt positionAt) {
    double peak = 0.0;
    for (int f = 1; f + 1 < frames; ++f) {
        for (std::size_t j = 0; j < joints; ++j) {
            const Point3d a = positionAt(f - 1, j), b = positionAt(f, j), c = positionAt(f + 1, j);
            const Point3d second = sum(difference(a, b), difference(c, b));
            peak = std::max(peak, length(second) / (frameTime * frameTime * height));
        }
    }
    return peak;
}

double sourcePeak(const TestCapture& capture) {
    const SourceMotion source = capture.source();
    double low = 0.0, high = 0.0;
    for (const AffineTransform& w : source.frames) {
        low = std::min(low, w.translation.y), high = std::max(high, w.translation.y);
    }
    return peakAcceleration(
        source.frameCount, source.jointCount(), source.frameTime, high - low,
        [&](int f, std::size_t j) { return source.world(f, static_cast<int>(j)).translation; });
}

double resultPeak(const RetargetOutcome& outcome, const ModelData& model) {
    AnimationPoser poser(model, *outcome.animation.data);
    const std::size_t bones = poser.bones().bones.size();
    std::vector<Point3d> heads(static_cast<std::size_t>(outcome.frameCount) * bones);
    for (int f = 0; f < outcome.frameCount; ++f) {
        poser.poseBones(static_cast<float>(f * outcome.frameTime));
        for (std::size_t b = 0; b < bones; ++b) {
            heads[static_cast<std::size_t>(f) * bones + b] =
                toPoint3d(transformPoint(poser.boneWorlds()[b], poser.bones().bones[b]->head));
        }
    }
    return peakAcceleration(
        outcome.frameCount, bones, outcome.frameTime, heightOf(model),
        [&](int f, std::size_t b) { return heads[static_cast<std::size_t>(f) * bones + b]; });
}

struct Case {
    const char* name;
    TestCapture capture;
};

// Feet that rest exactly in the source rest on the dancer too: no sliding, no drift, nothing
// under her floor, and no joint jerked harder than the source's own joints are.
TEST(PlantedFeet, ExactlyPlantedCapturesStayPlantedOnTheDancer) {
    const Case cases[] = {{"slow-walk", plantedWalk(0.8, 240)},
                          {"fast-walk", plantedWalk(1.6, 180)},
                          {"squat", plantedSquat(240)},
                          {"jumps", plantedJumps(180)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = written(c.capture, c.name);
        const RetargetOutcome planted = retargeted(path, true);
        ASSERT_TRUE(planted.planted);
        EXPECT_GT(planted.sourceQuality.contactFrames, 30);
        EXPECT_LT(planted.sourceQuality.footSpeed, 1e-3);
        EXPECT_LT(planted.sourceQuality.worstDrift, 1e-3);
        EXPECT_LE(planted.resultQuality.footSpeed, 0.002);
        EXPECT_LE(planted.resultQuality.worstDrift, 0.002);
        EXPECT_LE(planted.resultQuality.deepest, 0.003);
        EXPECT_LE(resultPeak(planted, defaultDancer()), 1.5 * sourcePeak(c.capture));
        // Copying the knee angles of other proportions is what slides her feet.
        const RetargetOutcome copied = retargeted(path, false);
        EXPECT_GT(copied.resultQuality.worstDrift, 2.0 * planted.resultQuality.worstDrift);
    }
}

// A real capture's feet rest only roughly; on the dancer they rest at least as well.
TEST(PlantedFeet, ARealCaptureKeepsItsFeetNoWorseThanItself) {
    const RetargetOutcome planted = retargeted(VOREL_CMU_BVH, true);
    ASSERT_TRUE(planted.planted);
    const ContactQuality& source = planted.sourceQuality;
    EXPECT_GT(source.contactFrames, 200);
    EXPECT_LE(planted.resultQuality.footSpeed, source.footSpeed);
    EXPECT_LE(planted.resultQuality.worstDrift, source.worstDrift);
    EXPECT_LE(planted.resultQuality.deepest, 0.003);
    const RetargetOutcome copied = retargeted(VOREL_CMU_BVH, false);
    EXPECT_GT(copied.resultQuality.footSpeed, source.footSpeed);
}

// Turning on one foot: the ankle it turns on stays where it is; the toe swings round it.
TEST(PlantedFeet, TheFootATurnPivotsOnKeepsItsAnkleInPlace) {
    const TestCapture capture = plantedTurn(120);
    const RetargetOutcome planted = retargeted(written(capture, "turn"), true);
    ASSERT_TRUE(planted.planted);
    const LegContacts& left = planted.contacts.front();
    ASSERT_EQ(left.ankle.size(), 1u);
    EXPECT_EQ(left.ankle.front().first, 0);
    EXPECT_EQ(left.ankle.front().last, 119);
    AnimationPoser poser(defaultDancer(), *planted.animation.data);
    const BoneData& foot = *poser.bones().bones[left.leg.foot];
    Point3d start;
    double worst = 0.0;
    for (int f = 0; f < 120; ++f) {
        poser.poseBones(static_cast<float>(f * planted.frameTime));
        const Point3d ankle =
            toPoint3d(transformPoint(poser.boneWorlds()[left.leg.foot], foot.head));
        if (f == 0) start = ankle;
        worst = std::max(worst, length(difference(ankle, start)) / heightOf(defaultDancer()));
    }
    EXPECT_LE(worst, 0.002);
    EXPECT_LE(planted.resultQuality.deepest, 0.003);
}

// How flat a figure's feet lie over the frames at which the source's feet lie flat: the
// largest tilt of a foot off the floor's plane, and the farthest its ankle then is from its
// height at rest (which is where it stands with its sole on the floor).
struct Flatness {
    int frames = 0;
    double tiltDegrees = 0.0;
    double ankleOffRest = 0.0;
};

Flatness flatnessOf(const RetargetOutcome& outcome, const ModelData& model) {
    AnimationPoser poser(model, *outcome.animation.data);
    Flatness flatness;
    for (const LegContacts& leg : outcome.contacts) {
        const BoneData& foot = *poser.bones().bones[leg.leg.foot];
        const Vector3 above{foot.head.x, foot.head.y + 1.0f, foot.head.z};
        for (const ContactSpan& span : leg.flat) {
            for (int f = span.first; f <= span.last; ++f) {
                poser.poseBones(static_cast<float>(f * outcome.frameTime));
                const Matrix4& world = poser.boneWorlds()[leg.leg.foot];
                const Point3d ankle = toPoint3d(transformPoint(world, foot.head));
                const Point3d up = difference(toPoint3d(transformPoint(world, above)), ankle);
                const double tilt =
                    std::acos(std::clamp(up.y / length(up), -1.0, 1.0)) * 180.0 / Pi;
                flatness.tiltDegrees = std::max(flatness.tiltDegrees, tilt);
                flatness.ankleOffRest = std::max(
                    flatness.ankleOffRest, std::fabs(ankle.y - foot.head.y) / heightOf(model));
                ++flatness.frames;
            }
        }
    }
    return flatness;
}

int framesIn(const std::vector<ContactSpan>& spans) {
    int frames = 0;
    for (const ContactSpan& span : spans) frames += span.last - span.first + 1;
    return frames;
}

// A foot that lies flat in the source lies flat on the dancer, its sole on her floor, though
// her feet slope otherwise than the capture's at rest; copying the foot's turn tilts it.
TEST(PlantedFeet, AFootLyingFlatInTheSourceLiesFlatOnTheFloor) {
    const std::string walk = written(plantedWalk(0.8, 240), "walk");
    const std::string squat = written(plantedSquat(240), "squat");
    for (const std::string& path : {walk, squat, std::string(VOREL_CMU_BVH)}) {
        SCOPED_TRACE(path);
        const RetargetOutcome planted = retargeted(path, true);
        // The made captures keep their feet flat whenever they rest.
        if (path != VOREL_CMU_BVH) {
            for (const LegContacts& leg : planted.contacts)
                EXPECT_EQ(framesIn(leg.flat), framesIn(leg.foot));
        }
        const Flatness after = flatnessOf(planted, defaultDancer());
        const Flatness before = flatnessOf(retargeted(path, false), defaultDancer());
        EXPECT_GT(after.frames, 100);
        EXPECT_GT(before.tiltDegrees, 10.0);
        EXPECT_LE(after.tiltDegrees, 0.5);
        EXPECT_LE(after.ankleOffRest, 0.003);
        EXPECT_LE(planted.resultQuality.deepest, 0.003);
    }
}

// RobotExpressive's legs end at the shin (its feet hang from the rig's root, moved as IK
// targets): there is no leg of thigh, shin and foot to plant, so it is retargeted as without
// planting, and says which foot hangs where.
TEST(PlantedFeet, AFigureWhoseLegsTheMapDoesNotGiveIsRetargetedAsBeforeAndSaysWhy) {
    const std::string folder = test_support::makeScratchFolder();
    test_support::writeBytes(folder + "/map.txt",
                             "Hips Hips\nSpine Abdomen\nSpine1 Torso_1\nNeck1 Neck\nHead Head\n"
                             "LeftUpLeg UpperLegL\nLeftLeg LowerLegL\nLeftFoot FootL\n"
                             "RightUpLeg UpperLegR\nRightLeg LowerLegR\nRightFoot FootR\n");
    const ModelData& robot = *robotSet().models.front();
    const std::string path = written(plantedWalk(0.8, 120), "walk");
    const RetargetOutcome asked = retargeted(path, true, robot, folder + "/map.txt");
    const RetargetOutcome unasked = retargeted(path, false, robot, folder + "/map.txt");
    EXPECT_FALSE(asked.planted);
    EXPECT_NE(std::find(asked.warnings.begin(), asked.warnings.end(),
                        "the feet are not planted: the foot 'FootL' hangs from 'Bone', not from "
                        "the shin 'LowerLegL', so turning the thigh and shin cannot put it down"),
              asked.warnings.end());
    ASSERT_EQ(asked.animation.data->tracks.size(), unasked.animation.data->tracks.size());
    for (std::size_t t = 0; t < asked.animation.data->tracks.size(); ++t) {
        for (int c = 0; c < ChannelCount; ++c) {
            const auto& a = asked.animation.data->tracks[t].channels[static_cast<std::size_t>(c)];
            const auto& b = unasked.animation.data->tracks[t].channels[static_cast<std::size_t>(c)];
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t k = 0; k < a.size(); ++k) {
                EXPECT_EQ(a[k].time, b[k].time);
                EXPECT_EQ(a[k].value, b[k].value);
            }
        }
    }
}

}  // namespace
}  // namespace vorel
