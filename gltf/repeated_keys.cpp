// Dropping the inside of runs of equal keys.
#include "gltf/repeated_keys.h"

#include <cstring>

namespace vorel {

namespace {

bool sameKey(const std::vector<float>& values, std::size_t components, std::size_t a,
             std::size_t b) {
    // Bit equality, so that 0 and -0 (which a client may tell apart) count as different.
    return std::memcmp(&values[a * components], &values[b * components],
                       components * sizeof(float)) == 0;
}

}  // namespace

std::vector<std::size_t> keysToKeep(const std::vector<float>& values, std::size_t components) {
    const std::size_t count = values.size() / components;
    std::vector<std::size_t> kept;
    for (std::size_t key = 0; key < count; ++key) {
        const bool inRun = key > 0 && key + 1 < count &&
                           sameKey(values, components, key - 1, key) &&
                           sameKey(values, components, key, key + 1);
        if (!inRun) kept.push_back(key);
    }
    return kept;
}

}  // namespace vorel
