// The long capture's text: the skeleton file's HIERARCHY as it is, then generated frames.
#include "bench/long_capture.h"

#include <cmath>
#include <cstdio>

#include "assets/file_bytes.h"
#include "bvh/read_bvh.h"

namespace vorel {

namespace {

constexpr double FrameTime = 1.0 / 120.0;

// Channel c's value at time t: a root that sways and drifts slowly, joints that turn through
// a few tens of degrees at under a turn per second.
double channelValue(BvhChannel channel, int c, double t) {
    const double phase = 0.7 * c;
    switch (channel) {
        case BvhChannel::Xposition:
            return 10.0 * std::sin(0.05 * t + phase);
        case BvhChannel::Yposition:
            return 18.0 + 0.5 * std::sin(2.0 * t + phase);
        case BvhChannel::Zposition:
            return 10.0 * std::cos(0.05 * t + phase);
        default:
            break;
    }
    const double amplitude = 10.0 + (7 * c) % 30;
    const double frequency = 0.2 + 0.1 * (c % 5);
    return amplitude * std::sin(2.0 * 3.14159265358979 * frequency * t + phase);
}

}  // namespace

std::string makeLongCapture(const std::string& skeletonPath, int frames) {
    std::string skeleton;
    BvhMotion motion;
    LoadError error;
    if (!readFileBytes(skeletonPath, skeleton, &error) ||
        !readBvh(skeleton, skeletonPath, motion, error))
        return "";
    std::string text = skeleton.substr(0, skeleton.find("MOTION"));
    char line[64];
    std::snprintf(line, sizeof line, "MOTION\nFrames: %d\nFrame Time: %.7f\n", frames, FrameTime);
    text += line;
    for (int f = 0; f < frames; ++f) {
        int c = 0;
        for (const BvhJoint& joint : motion.joints) {
            for (BvhChannel channel : joint.channels) {
                std::snprintf(line, sizeof line, c == 0 ? "%.4f" : " %.4f",
                              channelValue(channel, c, f * FrameTime));
                text += line;
                ++c;
            }
        }
        text += '\n';
    }
    return text;
}

}  // namespace vorel
