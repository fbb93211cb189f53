// WeightedGroup: the weighted vertices of an instance that share one influence count, laid out
// as flat arrays so that a skinning pass streams through them without branching per vertex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorel {

struct WeightedGroup {
    // Bones per vertex, 2 to MaxInfluences; every weight in the group is nonzero.
    int count = 0;
    // Position indices, ascending.
    std::vector<std::int32_t> vertices;
    // Vertex i follows bones[count * i + k] (in walk order) with weights[count * i + k].
    std::vector<std::int32_t> bones;
    std::vector<float> weights;
    // Vertex i turns the normals normals[normalStart[i]] to normals[normalStart[i + 1] - 1].
    std::vector<std::size_t> normalStart{0};
    std::vector<std::int32_t> normals;
    // The stored length of each of those normals, which the turned normal is scaled back to.
    std::vector<float> normalLengths;
};

}  // namespace vorel
