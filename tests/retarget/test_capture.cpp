#include "tests/retarget/test_capture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "bvh/read_bvh.h"
#include "retarget/bvh_source.h"

namespace vorel {

TestCapture::TestCapture(int frames, double frameTime, bool turnedAround, LegLengths legs)
    : frames_(frames), frameTime_(frameTime), facing_(turnedAround ? -1.0f : 1.0f), legs_(legs) {
    add("Hips", -1, 0, 0, 0);
    const int hips = 0;
    add("LowerBack", hips, 0, 0, 0);
    add("Spine", find("LowerBack"), 0, 2.1f, 0);
    add("Spine1", find("Spine"), 0, 2.1f, 0);
    const int spine1 = find("Spine1");
    add("Neck", spine1, 0, 0, 0);
    add("Neck1", find("Neck"), 0, 1.7f, 0);
    add("Head", find("Neck1"), 0, 1.7f, 0);
    add("Head_end", find("Head"), 0, 1.8f, 0, true);
    // Pre-order, as a file lists them: both arms under Spine1, then both legs under Hips.
    addArm(spine1, 1.0f, "Left");
    addArm(spine1, -1.0f, "Right");
    addLeg(hips, 1.0f, "Left");
    addLeg(hips, -1.0f, "Right");
    values_.assign(static_cast<std::size_t>(frames_ * valuesPerFrame_), 0.0f);
    const float standing = HipBelow + legs_.thigh + legs_.shin + AnkleHeight;
    for (int f = 0; f < frames_; ++f) place(f, 0.0f, standing, 0.0f);
}

void TestCapture::addArm(int spine1, float side, const char* prefix) {
    const std::string p = prefix;
    add(p + "Shoulder", spine1, 0, 0, 0);
    add(p + "Arm", find(p + "Shoulder"), side * 3.4f, 1.3f, 0);
    add(p + "ForeArm", find(p + "Arm"), side * 5.2f, 0, 0);
    add(p + "Hand", find(p + "ForeArm"), side * 3.5f, 0, 0);
    add(p + "FingerBase", find(p + "Hand"), 0, 0, 0);
    add(p + "HandIndex1", find(p + "FingerBase"), side * 0.5f, 0, 0);
    add(p + "HandIndex1_end", find(p + "HandIndex1"), side * 0.4f, 0, 0, true);
}

void TestCapture::addLeg(int hips, float side, const char* prefix) {
    const std::string p = prefix;
    add(p + "UpLeg", hips, side * HipAcross, -HipBelow, 0);
    add(p + "Leg", find(p + "UpLeg"), 0, -legs_.thigh, 0);
    add(p + "Foot", find(p + "Leg"), 0, -legs_.shin, 0);
    add(p + "ToeBase", find(p + "Foot"), 0, -AnkleHeight, ToeForward);
    add(p + "ToeBase_end", find(p + "ToeBase"), 0, 0, 1.0f, true);
}

void TestCapture::add(const std::string& name, int parent, float x, float y, float z,
                      bool endSite) {
    joints_.push_back({name, parent, {facing_ * x, y, facing_ * z}, endSite, valuesPerFrame_});
    if (!endSite) valuesPerFrame_ += parent < 0 ? 6 : 3;
}

int TestCapture::find(const std::string& name) const {
    for (std::size_t j = 0; j < joints_.size(); ++j) {
        if (joints_[j].name == name) return static_cast<int>(j);
    }
    ADD_FAILURE() << "the test capture has no joint " << name;
    return 0;
}

void TestCapture::rotate(const std::string& joint, int frame, float z, float y, float x) {
    const Joint& j = joints_[static_cast<std::size_t>(find(joint))];
    float* at = &values_[static_cast<std::size_t>(frame * valuesPerFrame_ + j.firstValue +
                                                  (j.parent < 0 ? 3 : 0))];
    at[0] = z, at[1] = y, at[2] = x;
}

void TestCapture::place(int frame, float x, float y, float z) {
    float* at = &values_[static_cast<std::size_t>(frame * valuesPerFrame_)];
    at[0] = x, at[1] = y, at[2] = z;
}

std::string TestCapture::bvhText() const {
    std::string text = "HIERARCHY\n";
    char line[256];
    std::vector<int> open;
    auto closeTo = [&](int parent) {
        while (!open.empty() && open.back() != parent) {
            text += "}\n";
            open.pop_back();
        }
    };
    for (std::size_t j = 0; j < joints_.size(); ++j) {
        const Joint& joint = joints_[j];
        closeTo(joint.parent);
        const char* kind = joint.parent < 0 ? "ROOT" : joint.endSite ? "End" : "JOINT";
        text += std::string(kind) + (joint.endSite ? " Site" : " " + joint.name) + "\n{\n";
        std::snprintf(line, sizeof line, "OFFSET %.6f %.6f %.6f\n", joint.offset[0],
                      joint.offset[1], joint.offset[2]);
        text += line;
        if (joint.parent < 0)
            text += "CHANNELS 6 Xposition Yposition Zposition Zrotation Yrotation Xrotation\n";
        else if (!joint.endSite)
            text += "CHANNELS 3 Zrotation Yrotation Xrotation\n";
        open.push_back(static_cast<int>(j));
    }
    closeTo(-1);
    std::snprintf(line, sizeof line, "MOTION\nFrames: %d\nFrame Time: %.9f\n", frames_, frameTime_);
    text += line;
    for (int f = 0; f < frames_; ++f) {
        for (int v = 0; v < valuesPerFrame_; ++v) {
            std::snprintf(line, sizeof line, v == 0 ? "%.6f" : " %.6f",
                          values_[static_cast<std::size_t>(f * valuesPerFrame_ + v)]);
            text += line;
        }
        text += "\n";
    }
    return text;
}

SourceMotion TestCapture::source() const {
    BvhMotion bvh;
    LoadError error;
    SourceMotion motion;
    EXPECT_TRUE(readBvh(bvhText(), "capture.bvh", bvh, error) &&
                sourceFromBvh(bvh, "capture.bvh", motion, error))
        << error.describe();
    return motion;
}

}  // namespace vorel
