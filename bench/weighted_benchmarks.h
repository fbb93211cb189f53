// Weighted skinning benchmarks: Figure::update on synthetic models whose every vertex blends
// four bones (10 and 100 thousand vertices, 100 bones, seven dances) and on a fox-like mix of
// rigid and blended vertices, beside a floor of their own (weighted_floor.h).
#pragma once

namespace vorel {

void registerWeightedBenchmarks();

}  // namespace vorel
