// allocationCount: how many times the global operator new has run in this test binary, which
// replaces it to prove that the per-frame path allocates nothing.
#pragma once

#include <cstddef>

namespace vorel::test_support {

std::size_t allocationCount();

}  // namespace vorel::test_support
