// vorel-import on BVH captures, run as a user runs it: the CMU capture becomes its own figure,
// fitted to the view, whose posed mesh (from vorel-inspect pose) follows the capture's own
// forward kinematics; bad captures and misplaced options fail with one line and no output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/fixed_view.h"
#include "assets/file_bytes.h"
#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "bvh/bvh_figure.h"
#include "bvh/bvh_kinematics.h"
#include "bvh/read_bvh.h"
#include "skeleton/bone_walk.h"
#include "tests/import/run_import.h"
#include "tests/support/program_runner.h"

namespace vorel {
namespace {

using test_support::makeScratchFolder;
using test_support::runImport;
using test_support::runProgram;
using test_support::RunResult;

BvhMotion readCmu() {
    BvhMotion motion;
    LoadError error;
    EXPECT_TRUE(readBvhFile(VOREL_CMU_BVH, motion, error)) << error.describe();
    return motion;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ImportBvhTool, CmuCaptureBecomesItsOwnFigureFittedToTheView) {
    const std::string folder = makeScratchFolder() + "/cmu";
    const RunResult run = runImport({VOREL_CMU_BVH, folder});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(contains(
        run.out, "capture: 31 joints and 7 End Sites, 96 channels, 443 frames of 0.0083333 s"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "model 'cmu-93_03': 31 bones")) << run.out;
    EXPECT_TRUE(contains(run.out, "key 1: 'Cancan' plays 'cmu-93_03'")) << run.out;

    LoadError error;
    const auto model = loadModel(folder + "/cmu-93_03.ply", &error);
    ASSERT_NE(model, nullptr) << error.describe();
    std::vector<std::string> boneNames;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model->rootBone.get()), pending,
              [&](const BoneData& bone) { boneNames.push_back(bone.name); });
    std::vector<std::string> jointNames;
    for (const BvhJoint& joint : readCmu().joints) {
        if (!joint.endSite) jointNames.push_back(joint.name);
    }
    EXPECT_EQ(jointNames, boneNames);
    // Standing on the default dancer's ground line; its first frame, a T-pose, is too wide for
    // the picture at her height, so it is made smaller until every vertex stays in at every turn.
    float low = model->positions[0].y, high = low;
    for (const Vector3& p : model->positions) low = std::min(low, p.y), high = std::max(high, p.y);
    EXPECT_NEAR(88.0f, low, 1e-3f);
    EXPECT_LT(high - low, 221.0f);
    EXPECT_GT(high - low, 190.0f);
    EXPECT_TRUE(contains(run.out, "(smaller than the standing height asks")) << run.out;
    for (const Vector3& p : model->positions) ASSERT_TRUE(insideViewAtEveryTurn(p));

    const auto animation = loadAnimation(folder + "/cmu-93_03.anim", &error);
    ASSERT_NE(animation, nullptr) << error.describe();
    EXPECT_NEAR(442 * 0.0083333, animation->header->duration, 1e-5);
    EXPECT_GT(animation->tracks.size(), 20u);
    EXPECT_LE(animation->tracks.size(), 31u);
}

TEST(ImportBvhTool, SpeedDividesTheCaptureClock) {
    const std::string folder = makeScratchFolder() + "/fast";
    const RunResult run = runImport({"--speed", "2", VOREL_CMU_BVH, folder});
    ASSERT_EQ(0, run.status) << run.err;
    LoadError error;
    const auto animation = loadAnimation(folder + "/cmu-93_03.anim", &error);
    ASSERT_NE(animation, nullptr) << error.describe();
    EXPECT_NEAR(0.5 * 442 * 0.0083333, animation->header->duration, 1e-5);
}

// The posed mesh's vertices, in order, from the OBJ that vorel-inspect pose writes.
std::vector<Vector3> objVertices(const std::string& path) {
    std::vector<Vector3> vertices;
    std::istringstream lines(test_support::readText(path));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("v ", 0) != 0) continue;
        Vector3 v;
        std::istringstream(line.substr(2)) >> v.x >> v.y >> v.z;
        vertices.push_back(v);
    }
    return vertices;
}

// The time of the one playing animation that the posed mesh shows, from vorel-inspect pose's
// report: a frame skins the figure, then moves the animations on by one step, so the report's
// local time is one step past the mesh.
double posedTime(const std::string& report) {
    const std::size_t at = report.find("local time ");
    return at == std::string::npos ? -1.0 : std::stod(report.substr(at + 11)) - 0.01;
}

TEST(ImportBvhTool, PosedFigureFollowsTheCapturesForwardKinematics) {
    // One capture frame per viewer frame (0.01 clock units), in the file's own units.
    const std::string folder = makeScratchFolder() + "/cmu";
    const RunResult run = runImport({"--fit", "none", "--speed", "0.83333", VOREL_CMU_BVH, folder});
    ASSERT_EQ(0, run.status) << run.err;
    LoadError error;
    const auto model = loadModel(folder + "/cmu-93_03.ply", &error);
    ASSERT_NE(model, nullptr) << error.describe();

    const BvhMotion motion = readCmu();
    std::map<std::string, std::size_t> jointOfName;
    for (std::size_t j = 0; j < motion.joints.size(); ++j) jointOfName[motion.joints[j].name] = j;
    const std::vector<Point3d> bind = bvhBindOrigins(motion);
    std::vector<std::pair<std::size_t, std::int32_t>> jointVertices;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model->rootBone.get()), pending,
              [&](const BoneData& bone) {
                  for (std::int32_t v : bone.vertices)
                      jointVertices.emplace_back(jointOfName.at(bone.name), v);
              });
    ASSERT_EQ(model->positions.size(), jointVertices.size());

    double largest = 0.0;
    for (int viewerFrames : {1, 2, 150, 301, 442}) {
        const std::string obj = folder + "/pose.obj";
        const RunResult pose =
            runProgram(VOREL_INSPECT_BINARY, {"pose", "--obj", obj, folder + "/vorel.txt",
                                              std::to_string(viewerFrames), "Cancan@1"});
        ASSERT_EQ(0, pose.status) << pose.err;
        const double frameExact = posedTime(pose.out) * 0.83333 / motion.frameTime;
        const int frame = static_cast<int>(std::lround(frameExact));
        ASSERT_NEAR(frameExact, frame, 1e-3) << pose.out.substr(0, 300);
        ASSERT_TRUE(frame >= 0 && frame < motion.frameCount) << pose.out.substr(0, 300);
        const std::vector<Vector3> posed = objVertices(obj);
        ASSERT_EQ(model->positions.size(), posed.size());
        std::vector<Matrix4> world;
        bvhWorldTransforms(motion, frame, world);
        for (const auto& [joint, v] : jointVertices) {
            const Vector3& p = model->positions[static_cast<std::size_t>(v)];
            const Vector3 fromJoint(p.x - static_cast<float>(bind[joint].x),
                                    p.y - static_cast<float>(bind[joint].y),
                                    p.z - static_cast<float>(bind[joint].z));
            const Vector3 expected = transformPoint(world[joint], fromJoint);
            const Vector3& actual = posed[static_cast<std::size_t>(v)];
            const double d = std::max({double{std::fabs(actual.x - expected.x)},
                                       double{std::fabs(actual.y - expected.y)},
                                       double{std::fabs(actual.z - expected.z)}});
            largest = std::max(largest, d);
        }
    }
    // Keys are dropped where interpolation stays within 0.05 degree per bone, so a far vertex
    // may sit a little off; a wrong transform would be off by whole bone lengths.
    double low = bind[0].y, high = low;
    for (const Point3d& origin : bind)
        low = std::min(low, origin.y), high = std::max(high, origin.y);
    const double height = high - low;
    std::printf(
        "largest vertex difference from the capture's forward kinematics: %.3g (%.3g of the "
        "height)\n",
        largest, largest / height);
    EXPECT_LT(largest, 2e-3 * height);
}

TEST(ImportBvhTool, BadCapturesFailWithOneLineAndWriteNothing) {
    const std::string scratch = makeScratchFolder();
    std::string cmu;
    LoadError error;
    ASSERT_TRUE(readFileBytes(VOREL_CMU_BVH, cmu, &error));
    const std::string noFrames =
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 1 Xrotation\n"
        " End Site\n {\n  OFFSET 0 1 0\n }\n}\nMOTION\nFrames: 0\nFrame Time: 0.1\n";
    const std::string onePoint =
        "HIERARCHY\nROOT A\n{\n OFFSET 0 0 0\n CHANNELS 1 Xrotation\n"
        " End Site\n {\n  OFFSET 0 0 0\n }\n}\nMOTION\nFrames: 1\nFrame Time: 0.1\n5\n";
    struct Case {
        std::string bytes;
        std::string line;
    };
    const Case cases[] = {
        {cmu.substr(0, cmu.size() / 2),
         ": line 407: a motion line has 47 values, the channels need 96"},
        {cmu.substr(0, cmu.find("MOTION")), ": line 184: the file ends before MOTION"},
        {noFrames, ": the capture has no frames"},
        {onePoint, ": every joint lies on one point: there is no body to draw"},
    };
    int n = 0;
    for (const Case& bad : cases) {
        const std::string input = scratch + "/bad" + std::to_string(++n) + ".bvh";
        test_support::writeBytes(input, bad.bytes);
        const std::string output = scratch + "/out" + std::to_string(n);
        const RunResult run = runImport({input, output});
        EXPECT_EQ(1, run.status) << input;
        EXPECT_EQ(0u, run.err.find(input + bad.line)) << run.err;
        EXPECT_EQ(1, std::count(run.err.begin(), run.err.end(), '\n')) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(std::filesystem::exists(output)) << output;
    }
    for (const std::vector<std::string>& glTfOnly :
         {std::vector<std::string>{"--keys", "A"},
          std::vector<std::string>{"--vertex-map", scratch + "/map"}}) {
        std::vector<std::string> arguments = glTfOnly;
        arguments.push_back(VOREL_CMU_BVH);
        arguments.push_back(scratch + "/unused");
        const RunResult run = runImport(arguments);
        EXPECT_EQ(2, run.status) << run.err;
        EXPECT_TRUE(contains(run.err, "is a BVH capture")) << run.err;
        EXPECT_FALSE(std::filesystem::exists(scratch + "/unused"));
    }
}

}  // namespace
}  // namespace vorel
