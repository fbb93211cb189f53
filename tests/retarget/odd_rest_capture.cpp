#include "tests/retarget/odd_rest_capture.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace vorel {

namespace {

struct OddJoint {
    std::string name;
    int parent;
    double x, y, z;
};

class OddRig {
  public:
    int add(const std::string& name, int parent, double x, double y, double z) {
        joints_.push_back({name, parent, x, y, z});
        return static_cast<int>(joints_.size()) - 1;
    }
    // A leg lying along the side's X at rest, its toe pointing forward.
    void addLeg(int hips, double side, const std::string& prefix) {
        const int up = add(prefix + "UpLeg", hips, side * 1.5, -0.1, 0);
        const int leg = add(prefix + "Leg", up, side * 7.3, 0, 0);
        const int foot = add(prefix + "Foot", leg, side * 7.2, 0, 0);
        const int toe = add(prefix + "ToeBase", foot, side * 0.3, 0, 1.9);
        add(prefix + "ToeBase_end", toe, 0, 0, 1.0);
    }
    void addArm(int chest, double side, const std::string& prefix) {
        const int shoulder = add(prefix + "Shoulder", chest, side * 0.5, 1.0, 0);
        const int arm = add(prefix + "Arm", shoulder, side * 3.0, 0, 0);
        const int fore = add(prefix + "ForeArm", arm, side * 5.2, 0, 0);
        int at = add(prefix + "Hand", fore, side * 3.5, 0, 0);
        for (int k = 0; k < 36; ++k)
            at = add(prefix + "Finger" + std::to_string(k), at, side * 0.05, 0, 0);
        add(prefix + "Finger_end", at, side * 0.05, 0, 0);
    }
    std::string text(int frames) const;

  private:
    bool isEnd(std::size_t j) const {
        for (const OddJoint& other : joints_) {
            if (other.parent == static_cast<int>(j)) return false;
        }
        return true;
    }
    std::vector<OddJoint> joints_;
};

std::string OddRig::text(int frames) const {
    std::string out = "HIERARCHY\n";
    std::vector<int> open;
    char line[200];
    std::vector<std::string> rotated;
    for (std::size_t j = 0; j < joints_.size(); ++j) {
        const OddJoint& joint = joints_[j];
        while (!open.empty() && open.back() != joint.parent) {
            out += "}\n";
            open.pop_back();
        }
        const bool end = isEnd(j);
        out += joint.parent < 0 ? "ROOT " + joint.name : end ? "End Site" : "JOINT " + joint.name;
        std::snprintf(line, sizeof line, "\n{\nOFFSET %.4f %.4f %.4f\n", joint.x, joint.y, joint.z);
        out += line;
        if (joint.parent < 0)
            out += "CHANNELS 6 Xposition Yposition Zposition Zrotation Yrotation Xrotation\n";
        else if (!end)
            out += "CHANNELS 3 Zrotation Yrotation Xrotation\n";
        if (!end) rotated.push_back(joint.name);
        open.push_back(static_cast<int>(j));
    }
    for (; !open.empty(); open.pop_back()) out += "}\n";
    out += "MOTION\nFrames: " + std::to_string(frames) + "\nFrame Time: 0.0166666667\n";
    for (int f = 0; f < frames; ++f) {
        const double swing = 20.0 * std::sin(0.1 * f);
        std::snprintf(line, sizeof line, "0 0 %.4f 0 0 0", 0.02 * f);
        out += line;
        for (std::size_t r = 1; r < rotated.size(); ++r) {
            // The legs turned down from their sideways rest, and swinging.
            const std::string& name = rotated[r];
            const double z = name == "LeftUpLeg" ? -90.0 : name == "RightUpLeg" ? 90.0 : 0.0;
            const double x = name == "LeftUpLeg" ? swing : name == "RightUpLeg" ? -swing : 0.0;
            std::snprintf(line, sizeof line, " %.4f 0 %.4f", z, x);
            out += line;
        }
        out += "\n";
    }
    return out;
}

}  // namespace

std::string oddRestCapture(int frames) {
    OddRig rig;
    const int hips = rig.add("Hips", -1, 0, OddRestStandingHeight, 0);
    const int spine = rig.add("Spine", hips, 0, 2.1, 0);
    const int chest = rig.add("Spine1", spine, 0, 2.1, 0);
    const int neck = rig.add("Neck1", chest, 0, 1.7, 0);
    const int head = rig.add("Head", neck, 0, 1.7, 0);
    rig.add("Head_end", head, 0, 1.8, 0);
    rig.addArm(chest, 1.0, "Left");
    rig.addArm(chest, -1.0, "Right");
    rig.addLeg(hips, 1.0, "Left");
    rig.addLeg(hips, -1.0, "Right");
    return rig.text(frames);
}

}  // namespace vorel
