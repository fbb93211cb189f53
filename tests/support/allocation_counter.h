// allocationCount: how many times the global operator new has run in this test binary, which
// replaces it to prove that the per-frame path allocates nothing; largestAllocation: the
// biggest block asked for; peakHeldBytes: the most memory held at once.
#pragma once

#include <cstddef>

namespace vorel::test_support {

std::size_t allocationCount();
// The largest single allocation since the last reset (or since the program started), for
// proving that a reader sizes nothing by a count the file merely claims.
std::size_t largestAllocation();
void resetLargestAllocation();
// Heap bytes held now, and the most held at once since the last reset (which starts it at the
// bytes held then).
std::size_t heldBytes();
std::size_t peakHeldBytes();
void resetPeakHeldBytes();

}  // namespace vorel::test_support
