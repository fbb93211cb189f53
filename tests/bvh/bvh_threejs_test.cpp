// Our forward kinematics against an independent reader: three.js's BVHLoader, run by Node
// through tests/node/bvh_positions.mjs, must place every joint where we do, within 1e-5 of the
// skeleton's size, at every frame asked for. The largest difference is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bvh/bvh_kinematics.h"
#include "bvh/read_bvh.h"

namespace vorel {
namespace {

struct JointPosition {
    int frame = 0;
    int joint = 0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Runs the Node script; false with the reason when it does not finish cleanly.
bool runThreeJs(const std::string& file, const std::vector<int>& frames, std::string& output) {
    std::string command =
        std::string(VOREL_NODE) + " " VOREL_BVH_POSITIONS_SCRIPT " '" + file + "'";
    for (int frame : frames) command += " " + std::to_string(frame);
    command += " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
    return pclose(pipe) == 0;
}

std::vector<JointPosition> parsePositions(const std::string& output) {
    std::vector<JointPosition> positions;
    std::istringstream lines(output);
    std::string line;
    int frame = -1;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "frame") {
            words >> frame;
            continue;
        }
        JointPosition position;
        std::string name;
        position.frame = frame;
        position.joint = std::stoi(first);
        words >> name >> position.x >> position.y >> position.z;
        EXPECT_FALSE(words.fail()) << line;
        positions.push_back(position);
    }
    return positions;
}

// The largest extent of the rest pose along any axis: the height of a standing figure.
double skeletonSize(const BvhMotion& motion) {
    std::vector<Matrix4> world;
    bvhWorldTransforms(motion, -1, world);
    double size = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        float low = world[0].element(12 + axis), high = low;
        for (const Matrix4& m : world) {
            low = std::min(low, m.element(12 + axis));
            high = std::max(high, m.element(12 + axis));
        }
        size = std::max(size, static_cast<double>(high - low));
    }
    return size;
}

void expectSamePositions(const std::string& file, const std::vector<int>& frames) {
    BvhMotion motion;
    LoadError error;
    ASSERT_TRUE(readBvhFile(file, motion, error)) << error.describe();
    std::string output;
    ASSERT_TRUE(runThreeJs(file, frames, output)) << output;
    const std::vector<JointPosition> theirs = parsePositions(output);
    ASSERT_EQ(frames.size() * motion.joints.size(), theirs.size()) << output.substr(0, 400);

    const double tolerance = 1e-5 * skeletonSize(motion);
    double largest = 0.0;
    JointPosition worst;
    std::vector<Matrix4> world;
    int posedFrame = -2;
    for (const JointPosition& their : theirs) {
        if (their.frame != posedFrame) bvhWorldTransforms(motion, their.frame, world);
        posedFrame = their.frame;
        const Vector3 our = world[static_cast<std::size_t>(their.joint)].column(3);
        const double difference = std::max(
            {std::fabs(our.x - their.x), std::fabs(our.y - their.y), std::fabs(our.z - their.z)});
        if (difference > largest) largest = difference, worst = their;
    }
    std::printf(
        "%s: %zu joints at %zu frames, largest difference %.3g (%.3g of the size %.6g) at joint "
        "'%s', frame %d\n",
        file.c_str(), motion.joints.size(), frames.size(), largest, largest / skeletonSize(motion),
        skeletonSize(motion), motion.joints[static_cast<std::size_t>(worst.joint)].name.c_str(),
        worst.frame);
    EXPECT_LE(largest, tolerance);
}

TEST(BvhAgainstThreeJs, CmuCaptureJointsAgreeAtEveryTwentiethFrame) {
    std::vector<int> frames;
    for (int frame = 0; frame < 443; frame += 20) frames.push_back(frame);
    frames.push_back(442);
    expectSamePositions(VOREL_CMU_BVH, frames);
}

TEST(BvhAgainstThreeJs, EveryChannelOrderAndPositionChannelsBelowTheRootAgree) {
    expectSamePositions(VOREL_BVH_DATA "/every_channel_order.bvh", {0, 1, 2, 3, 4, 5});
}

}  // namespace
}  // namespace vorel
