// Dance: a named sequence of poses on the animation clock. Each beat names a pose and how
// the motion to the next beat runs; the animation file holds one key per beat.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dancer/pose.h"

namespace vorel {

// How the motion from one beat to the next runs: the segment mode of its keys.
enum class Ease {
    // Stay in this beat's pose until the next beat (use it when the next pose is the same).
    Hold,
    // Move at an even speed: a snap, a march step.
    Straight,
    // Move along a smooth curve through the neighbouring beats.
    Smooth,
};

struct Beat {
    // Clock units from the start of the dance; 0.01 per frame.
    float time = 0.0f;
    std::string pose;
    Ease ease = Ease::Smooth;
};

struct Dance {
    // The name the viewer starts it by, and the file it is written to.
    std::string name;
    std::string fileName;
    // Clock units; the last beat should sit here, in the rest pose.
    float duration = 0.0f;
    // True: the curve tangents are written into the file (the loader recomputes them the
    // same way); false: the loader alone computes them.
    bool tangentsInFile = false;
    std::vector<Beat> beats;
};

using PoseBook = std::map<std::string, Pose>;

// The named poses every dance draws on; "rest" is the bind pose.
PoseBook makePoseBook();
// The seven dances in the order the viewer's keys 1 to 7 start them.
std::vector<Dance> makeDances();

}  // namespace vorel
