// keysToKeep: the keys of a LINEAR channel that sampling needs. A key is dropped only inside a
// run of keys with bit-equal values: interpolating between two equal values gives that value
// back exactly in any client (linear or spherical), so no sampled value at any time changes.
// Keys that are collinear but not equal are kept, since clients round differently.
#pragma once

#include <cstddef>
#include <vector>

namespace vorel {

// Indices of the keys to keep, ascending; `values` holds `components` floats per key. The
// first and the last key are always kept, so the channel keeps its length.
std::vector<std::size_t> keysToKeep(const std::vector<float>& values, std::size_t components);

}  // namespace vorel
