// Frame numbers as tools name them on a command line: the viewer's frames counted from 1.
#pragma once

#include <string>

namespace vorel {

// Frame numbers run from 1 (the viewer's first frame) to this, so a run stays bounded.
constexpr int LastAllowedFrame = 1000000;

// A frame number of 1 to LastAllowedFrame in plain decimal digits; false otherwise.
bool parseFrameNumber(const std::string& text, int& frame);

}  // namespace vorel
