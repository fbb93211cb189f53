// oddRestCapture: a capture laid out the way some rigs are, and unlike the CMU layout the
// retargeter was first written for: the root's OFFSET holds the standing hip height (its
// position channels stay near zero), the rest pose's legs stick out sideways from the hips
// rather than standing, there are many joints (a finger chain per hand with dozens of
// joints), and 60 frames a second. In its frames it stands on its floor and walks forward.
#pragma once

#include <string>

namespace vorel {

// The hips' height above the toes as the capture stands in its frames.
constexpr double OddRestStandingHeight = 14.9;

std::string oddRestCapture(int frames);

}  // namespace vorel
