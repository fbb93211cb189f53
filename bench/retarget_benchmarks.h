// The retarget of a real capture onto the default dancer, whole: reading the BVH file, the
// retargeting, the key reduction and the fixed-view check, as vorel-retarget runs them.
#pragma once

#include <string>

namespace vorel {

// Loads the default set from beside its manifest; false, with problem set, if it cannot.
bool registerRetargetBenchmarks(const std::string& capturePath, const std::string& manifestPath,
                                std::string& problem);

}  // namespace vorel
