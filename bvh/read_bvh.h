// readBvh: the BVH reader. It trusts no count in the file: what is allocated is bounded by the
// text actually present.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "bvh/bvh_motion.h"

namespace vorel {

// False, with error set ("FILE: line N: what is wrong" from error.describe()), when the text
// is not a BVH file this reader accepts.
bool readBvh(const std::string& text, const std::string& path, BvhMotion& motion, LoadError& error);
bool readBvhFile(const std::string& path, BvhMotion& motion, LoadError& error);

// False, with error set ("FILE: the capture has no frames"), when the motion section holds no
// frame. The reader takes such a file (its hierarchy is sound), but every tool that plays,
// converts or checks a capture refuses it with this one verdict.
bool checkBvhHasFrames(const BvhMotion& motion, const std::string& path, LoadError& error);

// Empty when `Frames:` counts the motion lines present; otherwise a warning saying which count
// was used ("'Frames:' says 3069, but 3070 motion lines follow; all 3070 are used").
std::string frameCountWarning(const BvhMotion& motion);

}  // namespace vorel
