// mutationsOf: the hostile corpus's mutations of one seed file, each with a file name that
// says what was done and keeps the seed's kind (.glb, .gltf or .bvh).
#pragma once

#include <string>
#include <vector>

namespace vorel::test_support {

struct Mutation {
    std::string name;
    std::string bytes;
};

// A few dozen mutations of a GLB, a .gltf (JSON text) or a BVH capture, the same on every run.
std::vector<Mutation> mutationsOf(const std::string& seed);

}  // namespace vorel::test_support
