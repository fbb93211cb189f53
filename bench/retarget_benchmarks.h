// The retarget of a real capture onto the default dancer, whole: reading the BVH file, the
// retargeting, the key reduction and the fixed-view check, as vorel-retarget runs them; and
// the same for long three-joint captures (10,000 and 100,000 frames), whose times must grow
// in proportion to their length.
#pragma once

#include <string>

namespace vorel {

// Loads the default set from beside its manifest; false, with problem set, if it cannot.
bool registerRetargetBenchmarks(const std::string& capturePath, const std::string& manifestPath,
                                std::string& problem);

}  // namespace vorel
