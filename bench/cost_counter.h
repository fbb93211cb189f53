// costPer: a counter showing the time of one iteration divided by a number of items, so that
// costs per vertex or per bone-track pair can be compared across sizes.
#pragma once

#include <benchmark/benchmark.h>

namespace vorel {

inline benchmark::Counter costPer(double itemsPerIteration) {
    return benchmark::Counter(itemsPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

}  // namespace vorel
