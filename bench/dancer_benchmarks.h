// The frame path on the default dancer: Figure::update with no, one and all seven dances,
// each also twice at once, and the floor of the dancer's mesh.
#pragma once

#include <string>

namespace vorel {

// Loads the default set from beside its manifest; false, with problem set, if it cannot.
bool registerDancerBenchmarks(const std::string& manifestPath, std::string& problem);

}  // namespace vorel
