#include "tests/retarget/planted_capture.h"

#include <algorithm>
#include <cmath>

#include "math/pi.h"

namespace vorel {

namespace {

constexpr double Thigh = ShortThighsLongShins.thigh;
constexpr double Shin = ShortThighsLongShins.shin;
constexpr double Leg = Thigh + Shin;

double degrees(double radians) {
    return radians * 180.0 / Pi;
}

// One frame: the hips' position and turn about the vertical (radians), each ankle (left,
// right) and its foot's turn about the vertical.
struct FramePose {
    Point3d hips;
    double yaw = 0.0;
    Point3d ankles[2];
    double footYaws[2] = {0.0, 0.0};
};

Point3d turnedAboutY(const Point3d& p, double angle) {
    return {p.x * std::cos(angle) + p.z * std::sin(angle), p.y,
            -p.x * std::sin(angle) + p.z * std::cos(angle)};
}

// The thigh, shin and foot turns that put one ankle where the pose asks, the knee bent
// forwards, the foot flat on its turn.
void solveLeg(TestCapture& capture, int frame, const FramePose& pose, int leg) {
    const double side = leg == 0 ? 1.0 : -1.0;
    const char* prefix = leg == 0 ? "Left" : "Right";
    const Point3d hip =
        sum(pose.hips,
            turnedAboutY({side * TestCapture::HipAcross, -TestCapture::HipBelow, 0.0}, pose.yaw));
    // The hip-to-ankle line in the foot's own frame: down -Y, forward +Z, nothing across.
    const Point3d v = turnedAboutY(difference(pose.ankles[leg], hip), -pose.footYaws[leg]);
    const double d = std::min(std::hypot(v.y, v.z), 0.9999 * Leg);
    const double along = std::atan2(v.z, -v.y);
    const double atHip = std::acos((Thigh * Thigh + d * d - Shin * Shin) / (2.0 * Thigh * d));
    const double atAnkle = std::acos((Shin * Shin + d * d - Thigh * Thigh) / (2.0 * Shin * d));
    // A turn about X by a positive angle swings a hanging bone backwards.
    const double thigh = -(along + atHip);
    const double knee = atHip + atAnkle;
    const std::string p = prefix;
    capture.rotate(p + "UpLeg", frame, 0.0f,
                   static_cast<float>(degrees(pose.footYaws[leg] - pose.yaw)),
                   static_cast<float>(degrees(thigh)));
    capture.rotate(p + "Leg", frame, 0.0f, 0.0f, static_cast<float>(degrees(knee)));
    capture.rotate(p + "Foot", frame, 0.0f, 0.0f, static_cast<float>(degrees(-(thigh + knee))));
}

void setFrame(TestCapture& capture, int frame, const FramePose& pose) {
    capture.place(frame, static_cast<float>(pose.hips.x), static_cast<float>(pose.hips.y),
                  static_cast<float>(pose.hips.z));
    capture.rotate("Hips", frame, 0.0f, static_cast<float>(degrees(pose.yaw)), 0.0f);
    solveLeg(capture, frame, pose, 0);
    solveLeg(capture, frame, pose, 1);
}

// Eases 0 to 1 with no speed at either end.
double ease(double u) {
    const double c = std::clamp(u, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(Pi * c);
}

Point3d standingAnkle(int leg, double z) {
    return {(leg == 0 ? 1.0 : -1.0) * TestCapture::HipAcross, TestCapture::AnkleHeight, z};
}

double hipsHeight(double legShare) {
    return TestCapture::HipBelow + TestCapture::AnkleHeight + legShare * Leg;
}

}  // namespace

TestCapture plantedWalk(double speed, int frames) {
    TestCapture capture(frames, PlantedFrameTime, false, ShortThighsLongShins);
    const double step = 0.6 * Leg;
    const double velocity = speed * Leg;
    const double cycle = 2.0 * step / velocity;
    const double stance = 0.6;
    for (int f = 0; f < frames; ++f) {
        const double t = f * PlantedFrameTime;
        FramePose pose;
        pose.hips = {0.0, hipsHeight(0.9), velocity * t};
        for (int leg = 0; leg < 2; ++leg) {
            // Where this leg's cycle is: planted for the first 60%, swinging after.
            const double local = t / cycle + 0.5 * leg + 0.2;
            const double k = std::floor(local);
            const double u = local - k;
            // The plant of cycle k lies under the hips at the middle of its stance.
            const double plantedAt = velocity * cycle * (k - 0.5 * leg - 0.2 + 0.5 * stance);
            Point3d ankle = standingAnkle(leg, plantedAt);
            if (u > stance) {
                const double s = (u - stance) / (1.0 - stance);
                ankle.z = plantedAt + 2.0 * step * ease(s);
                ankle.y += 0.12 * Leg * std::sin(Pi * s);
            }
            pose.ankles[leg] = ankle;
        }
        setFrame(capture, f, pose);
    }
    return capture;
}

TestCapture plantedSquat(int frames) {
    TestCapture capture(frames, PlantedFrameTime, false, ShortThighsLongShins);
    for (int f = 0; f < frames; ++f) {
        const double t = f * PlantedFrameTime;
        FramePose pose;
        const double depth = 0.5 * (0.5 - 0.5 * std::cos(2.0 * Pi * t / 2.0));
        pose.hips = {0.0, hipsHeight(0.95 - depth), -0.15 * depth * Leg};
        for (int leg = 0; leg < 2; ++leg) pose.ankles[leg] = standingAnkle(leg, 0.0);
        setFrame(capture, f, pose);
    }
    return capture;
}

TestCapture plantedTurn(int frames) {
    TestCapture capture(frames, PlantedFrameTime, false, ShortThighsLongShins);
    const double start = 0.4, length = 0.6;
    for (int f = 0; f < frames; ++f) {
        const double t = f * PlantedFrameTime;
        FramePose pose;
        pose.yaw = 0.5 * Pi * ease((t - start) / length);
        pose.footYaws[0] = pose.footYaws[1] = pose.yaw;
        // The left hip straight above the left ankle, which stays put as the foot turns on it.
        pose.ankles[0] = standingAnkle(0, 0.0);
        const Point3d leftHip = {pose.ankles[0].x, hipsHeight(0.93) - TestCapture::HipBelow,
                                 pose.ankles[0].z};
        pose.hips = difference(
            leftHip, turnedAboutY({TestCapture::HipAcross, -TestCapture::HipBelow, 0.0}, pose.yaw));
        const Point3d rightHip =
            sum(pose.hips,
                turnedAboutY({-TestCapture::HipAcross, -TestCapture::HipBelow, 0.0}, pose.yaw));
        pose.ankles[1] = sum(rightHip, turnedAboutY({0.0, -0.75 * Leg, 0.3 * Leg}, pose.yaw));
        setFrame(capture, f, pose);
    }
    return capture;
}

TestCapture plantedJumps(int frames) {
    TestCapture capture(frames, PlantedFrameTime, false, ShortThighsLongShins);
    // Each jump: 0.5 s on the ground (a dip to take off and land), 0.4 s in the air.
    const double ground = 0.5, air = 0.4;
    const double landings[] = {0.0, 0.0, 0.3 * Leg};
    for (int f = 0; f < frames; ++f) {
        const double t = f * PlantedFrameTime;
        const int jump = std::min(2, static_cast<int>(t / (ground + air)));
        const double u = t - jump * (ground + air);
        FramePose pose;
        double z = landings[jump], lift = 0.0, share = 0.9;
        if (u < ground || jump == 2) {
            share = 0.9 - 0.2 * std::sin(Pi * std::min(u / ground, 1.0));
        } else {
            const double s = (u - ground) / air;
            z = landings[jump] + (landings[jump + 1] - landings[jump]) * s;
            lift = 0.25 * Leg * 4.0 * s * (1.0 - s);
        }
        pose.hips = {0.0, hipsHeight(share) + lift, z};
        for (int leg = 0; leg < 2; ++leg) {
            pose.ankles[leg] = standingAnkle(leg, z);
            pose.ankles[leg].y += lift;
        }
        setFrame(capture, f, pose);
    }
    return capture;
}

}  // namespace vorel
