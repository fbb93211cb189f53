// makeLongCapture: a BVH capture of any length for timing the importer: the CMU capture's
// skeleton with every channel moving smoothly (a sine per channel, as a slow dance would),
// written with four decimals as motion-capture files are.
#pragma once

#include <string>

namespace vorel {

// Empty when the skeleton's file cannot be read.
std::string makeLongCapture(const std::string& skeletonPath, int frames);

}  // namespace vorel
