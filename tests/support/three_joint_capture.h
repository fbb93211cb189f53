// threeJointCapture: a BVH capture of any length with the fewest joints the built-in CMU map
// retargets (the hips, a thigh and its end site), the hips swaying and the thigh swinging,
// for timing the retargeter on long captures in the tests and the benchmarks.
#pragma once

#include <string>

namespace vorel::test_support {

// The file's whole text: `frames` frames at 120 a second.
std::string threeJointCapture(int frames);

}  // namespace vorel::test_support
