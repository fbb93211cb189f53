// The direction check: a retargeted dance posed by vorel-inspect (its bones' local matrices,
// composed down the model's tree, moving each bone's head and tail) against the source's own
// joints at every tenth source frame: the CMU capture's through the BVH reader (itself
// checked against three.js), also retargeted from the same capture written as an FBX file,
// RobotExpressive's through three.js. Prints the largest angle;
// the target is 2 degrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "assets/file_bytes.h"
#include "bvh/read_bvh.h"
#include "retarget/bvh_source.h"
#include "skeleton/bone_list.h"
#include "tests/retarget/bone_directions.h"
#include "tests/support/fbx_from_capture.h"
#include "tests/support/fbx_test_writer.h"
#include "tests/support/program_runner.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {
namespace {

using test_support::makeScratchFolder;
using test_support::runProgram;
using test_support::RunResult;
using test_support::splitLines;

constexpr int FrameStride = 10;

std::string formatted(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Every bone's world matrix at the pose vorel-inspect reaches after `frames` frames of
// `step` seconds with the dance started before the first: the dance's clock at
// (frames - 1) * step.
std::vector<Matrix4> posedWorlds(const std::string& manifest, const BoneList& bones,
                                 const std::string& dance, double step, int frames) {
    const RunResult run = runProgram(
        VOREL_INSPECT_BINARY,
        {"pose", "--step", formatted(step), manifest, std::to_string(frames), dance + "@1"});
    EXPECT_EQ(run.status, 0) << run.err;
    std::map<std::string, Matrix4> locals;
    const std::vector<std::string> lines = splitLines(run.out);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("bone ", 0) != 0 || i + 4 >= lines.size()) continue;
        Matrix4& local = locals[lines[i].substr(5)];
        for (int row = 0; row < 4; ++row) {
            std::istringstream numbers(lines[i + 1 + static_cast<std::size_t>(row)]);
            for (int column = 0; column < 4; ++column) numbers >> local.element(column * 4 + row);
        }
    }
    std::vector<Matrix4> worlds(bones.bones.size());
    for (std::size_t b = 0; b < bones.bones.size(); ++b) {
        const auto local = locals.find(bones.bones[b]->name);
        EXPECT_NE(local, locals.end()) << bones.bones[b]->name;
        if (local == locals.end()) continue;
        const int parent = bones.parents[b];
        worlds[b] = parent < 0
                        ? local->second
                        : composeAffine(local->second, worlds[static_cast<std::size_t>(parent)]);
    }
    return worlds;
}

std::unique_ptr<AssetLibrary> retargetInto(const std::string& folder,
                                           const std::vector<std::string>& arguments) {
    const RunResult run = runProgram(VOREL_RETARGET_BINARY, arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    std::printf("%s", run.out.c_str());
    std::string problem;
    auto library = loadLibraryBesideManifest(folder + "/vorel.txt", problem);
    EXPECT_NE(library, nullptr) << problem;
    return library;
}

void report(const char* what, const WorstAngle& worst) {
    std::printf("%s: largest angle %.4f degrees (bone %s, source frame %d)\n", what, worst.degrees,
                worst.bone.c_str(), worst.frame);
}

// The CMU capture retargeted with these options, its bones' directions against the source's.
WorstAngle cmuOnTheDancer(const std::vector<std::string>& options,
                          const std::vector<BoneSegment>& segments) {
    const std::string out = makeScratchFolder() + "/cmu";
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"--as", "Cancan", VOREL_CMU_BVH, out});
    const auto library = retargetInto(out, arguments);
    WorstAngle worst;
    if (library == nullptr) return worst;
    BvhMotion bvh;
    LoadError error;
    SourceMotion source;
    EXPECT_TRUE(readBvhFile(VOREL_CMU_BVH, bvh, error) &&
                sourceFromBvh(bvh, VOREL_CMU_BVH, source, error))
        << error.describe();
    const ModelData& dancer = *library->models.front();
    const BoneList bones = listBones(dancer);
    int tested = 0;
    for (int frame = 0; frame < source.frameCount; frame += FrameStride, ++tested) {
        compareDirections(
            dancer, posedWorlds(out + "/vorel.txt", bones, "Cancan", source.frameTime, frame + 1),
            source, frame, segments, worst);
    }
    EXPECT_EQ(tested, 45);
    return worst;
}

// Every bone follows its source bone when the feet are not planted; planted, every bone but
// the thighs and shins that reach for the held feet, and the feet laid flat where the
// source's lie flat, still does.
TEST(DirectionCheck, TheCmuCaptureOnTheDancerStaysWithinTwoDegrees) {
    const WorstAngle copied = cmuOnTheDancer({"--no-plant"}, cmuSegments());
    report("CMU 93_03 on the dancer, feet not planted", copied);
    EXPECT_LT(copied.degrees, 2.0) << copied.bone << " at frame " << copied.frame;
    std::vector<BoneSegment> leftAlone;
    for (const BoneSegment& segment : cmuSegments()) {
        const std::string bone = segment.bone;
        if (bone.rfind("thigh_", 0) != 0 && bone.rfind("shin_", 0) != 0 &&
            bone.rfind("foot_", 0) != 0)
            leftAlone.push_back(segment);
    }
    const WorstAngle planted = cmuOnTheDancer({}, leftAlone);
    report("CMU 93_03 on the dancer, feet planted, the bones reaching left out", planted);
    EXPECT_LT(planted.degrees, 2.0) << planted.bone << " at frame " << planted.frame;
}

TEST(DirectionCheck, TheCmuCaptureAsAnFbxFileOnTheDancerStaysWithinTwoDegrees) {
    BvhMotion bvh;
    LoadError error;
    SourceMotion source;
    ASSERT_TRUE(readBvhFile(VOREL_CMU_BVH, bvh, error) &&
                sourceFromBvh(bvh, VOREL_CMU_BVH, source, error))
        << error.describe();
    const std::string folder = makeScratchFolder();
    const std::string fbx = folder + "/cmu-93_03.fbx";
    ASSERT_TRUE(
        writeFileBytes(fbx, test_support::writeFbxBinary(test_support::fbxFromCapture(bvh))));
    const std::string out = folder + "/cmu";
    // The mapping alone, as read through FBX: the planted feet are the BVH case's to check.
    const auto library = retargetInto(out, {"--no-plant", "--as", "Cancan", fbx, out});
    ASSERT_NE(library, nullptr);
    const ModelData& dancer = *library->models.front();
    const BoneList bones = listBones(dancer);
    // vorel-retarget samples FBX stacks at 30 frames a second: every fourth capture frame.
    constexpr int Stride = 12;
    WorstAngle worst;
    for (int frame = 0; frame < source.frameCount; frame += Stride) {
        compareDirections(
            dancer, posedWorlds(out + "/vorel.txt", bones, "Cancan", source.frameTime, frame + 1),
            source, frame, cmuSegments(), worst);
    }
    report("CMU 93_03 through FBX on the dancer", worst);
    EXPECT_LT(worst.degrees, 2.0) << worst.bone << " at frame " << worst.frame;
}

// RobotExpressive's bones that end on another joint (its head and shins end in no joint
// three.js could place, so they are left out here).
const std::vector<BoneSegment>& robotSegments() {
    static const std::vector<BoneSegment> segments = {
        {"pelvis", "Hips", "Abdomen"},
        {"spine", "Abdomen", "Torso_1"},
        {"chest", "Torso_1", "Neck"},
        {"neck", "Neck", "Head"},
        {"shoulder_l", "ShoulderL", "UpperArmL"},
        {"upper_arm_l", "UpperArmL", "LowerArmL"},
        {"forearm_l", "LowerArmL", "Palm2L"},
        {"hand_l", "Palm2L", "Middle1L"},
        {"thigh_l", "UpperLegL", "LowerLegL"},
        {"shoulder_r", "ShoulderR", "UpperArmR"},
        {"upper_arm_r", "UpperArmR", "LowerArmR"},
        {"forearm_r", "LowerArmR", "Palm2R"},
        {"hand_r", "Palm2R", "Middle1R"},
        {"thigh_r", "UpperLegR", "LowerLegR"},
    };
    return segments;
}

// three.js's joint positions at the given times, as a motion whose frames are those times.
SourceMotion threeJsJoints(const std::string& animation, const std::vector<double>& times) {
    std::vector<std::string> arguments{VOREL_SKINNED_POSITIONS_SCRIPT, "--joints", VOREL_ROBOT_GLB,
                                       animation};
    for (double t : times) arguments.push_back(formatted(t));
    const RunResult run = runProgram(VOREL_NODE, arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    SourceMotion motion;
    for (const std::string& line : splitLines(run.out)) {
        if (line.rfind("time ", 0) == 0) ++motion.frameCount;
        if (line.rfind("joint ", 0) != 0) continue;
        std::istringstream fields(line.substr(6));
        int node = 0;
        std::string name;
        AffineTransform world;
        fields >> node >> name >> world.translation.x >> world.translation.y >> world.translation.z;
        if (motion.frameCount == 1) motion.names.push_back(name);
        motion.frames.push_back(world);
    }
    EXPECT_EQ(motion.frames.size(), motion.names.size() * times.size());
    return motion;
}

TEST(DirectionCheck, ARobotExpressiveAnimationOnTheDancerStaysWithinTwoDegrees) {
    const std::string out = makeScratchFolder() + "/robot";
    const auto library = retargetInto(out, {"--animation", "Dance", "--as", "Strut", "--map",
                                            VOREL_ROBOT_MAP, VOREL_ROBOT_GLB, out});
    ASSERT_NE(library, nullptr);
    // vorel-retarget samples glTF animations at 30 frames per second.
    const double frameTime = 1.0 / 30.0;
    std::vector<double> times;
    for (int frame = 0; frame * frameTime <= 3.3 + 1e-9; frame += FrameStride)
        times.push_back(frame * frameTime);
    const SourceMotion source = threeJsJoints("Dance", times);
    ASSERT_EQ(source.frameCount, static_cast<int>(times.size()));
    const ModelData& dancer = *library->models.front();
    const BoneList bones = listBones(dancer);
    WorstAngle worst;
    for (std::size_t i = 0; i < times.size(); ++i) {
        const int frame = static_cast<int>(i) * FrameStride;
        compareDirections(dancer,
                          posedWorlds(out + "/vorel.txt", bones, "Strut", frameTime, frame + 1),
                          source, static_cast<int>(i), robotSegments(), worst);
    }
    worst.frame *= FrameStride;
    report("RobotExpressive 'Dance' on the dancer", worst);
    EXPECT_LT(worst.degrees, 2.0) << worst.bone << " at frame " << worst.frame;
}

}  // namespace
}  // namespace vorel
