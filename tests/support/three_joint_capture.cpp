#include "tests/support/three_joint_capture.h"

#include <cmath>
#include <cstdio>

namespace vorel::test_support {

std::string threeJointCapture(int frames) {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 16.7 0\n"
        "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
        "JOINT LeftUpLeg\n{\nOFFSET 1 -8 0\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
        "End Site\n{\nOFFSET 0 -8 0\n}\n}\n}\nMOTION\nFrames: " +
        std::to_string(frames) + "\nFrame Time: 0.008333\n";
    char line[160];
    for (int f = 0; f < frames; ++f) {
        const double t = 0.01 * f;
        std::snprintf(line, sizeof line, "%.4f %.4f 0.5 %.4f %.4f %.4f %.4f %.4f %.4f\n",
                      3.0 * std::sin(0.1 * t), 0.2 * std::sin(0.3 * t), 3.0 * std::sin(t),
                      2.0 * std::cos(1.3 * t), 5.0 * std::sin(0.7 * t), 30.0 * std::sin(0.9 * t),
                      15.0 * std::cos(0.4 * t), 25.0 * std::sin(1.1 * t));
        text += line;
    }
    return text;
}

}  // namespace vorel::test_support
