// Import benchmarks: the glTF importer on RobotExpressive and on a synthetic character of a
// million vertices and 100 joints, in memory and as the vorel-import program (whose peak
// resident memory is reported beside the file's size).
#pragma once

#include <string>

namespace vorel {

// `robotPath`: RobotExpressive.glb; `importProgram`: the vorel-import binary.
void registerImportBenchmarks(const std::string& robotPath, const std::string& importProgram);

}  // namespace vorel
