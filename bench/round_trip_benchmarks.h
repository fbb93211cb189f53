// Round-trip benchmarks: a set exported as vorel-export does and imported back as vorel-import
// does, updated beside the set it came from, so an imported character's cost can be held
// against the native one's.
#pragma once

#include <string>

namespace vorel {

// The default dancer and a synthetic set of 10 thousand vertices, each native and
// re-imported, all seven dances playing. False, with problem set, when a round trip fails.
bool registerRoundTripBenchmarks(const std::string& dancerManifest, std::string& problem);

}  // namespace vorel
