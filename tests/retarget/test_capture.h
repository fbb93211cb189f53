// TestCapture: a small BVH capture with the CMU database's joint names and layout (a T-pose
// facing +Z, the arms along X, Y up), whose joint rotations and root position a test sets
// frame by frame. Read through the real BVH reader, so a test sees what a file would give.
#pragma once

#include <string>
#include <vector>

#include "retarget/source_motion.h"

namespace vorel {

// The lengths of a capture's thighs and shins (hip to knee, knee to ankle).
struct LegLengths {
    float thigh = 7.3f;
    float shin = 7.2f;
};

class TestCapture {
  public:
    // `turnedAround`: the whole skeleton faces -Z (its left arm along -X).
    explicit TestCapture(int frames, double frameTime = 1.0 / 30.0, bool turnedAround = false,
                         LegLengths legs = {});

    // Degrees about the joint's Z, Y and X axes, applied in that (the file's) order.
    void rotate(const std::string& joint, int frame, float z, float y, float x);
    // The root's position; every frame starts standing at the origin, hips at StandingHeight.
    void place(int frame, float x, float y, float z);

    std::string bvhText() const;
    // bvhText() through readBvh and sourceFromBvh; fails the test when the reader refuses it.
    SourceMotion source() const;

    // Hips above the floor when standing: the legs' length down to the toe tips.
    static constexpr float StandingHeight = 16.7f;
    // The hip joints' offset from the hips (the left one's; the right one mirrors it), and
    // the ankle's height above the toe joint, which rests on the floor.
    static constexpr float HipAcross = 1.5f;
    static constexpr float HipBelow = 1.9f;
    static constexpr float AnkleHeight = 0.3f;
    static constexpr float ToeForward = 1.9f;

  private:
    struct Joint {
        std::string name;
        int parent;
        float offset[3];
        bool endSite;
        int firstValue;
    };
    void add(const std::string& name, int parent, float x, float y, float z, bool endSite = false);
    void addArm(int spine1, float side, const char* prefix);
    void addLeg(int hips, float side, const char* prefix);
    int find(const std::string& name) const;

    std::vector<Joint> joints_;
    int valuesPerFrame_ = 0;
    int frames_;
    double frameTime_;
    float facing_;
    LegLengths legs_;
    std::vector<float> values_;
};

}  // namespace vorel
