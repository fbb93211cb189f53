// Scaling benchmarks: Figure::update on synthetic models of 10 thousand to 1 million vertices
// and 20 to 1,000 bones, with one and seven animations, beside the floor of each size.
#pragma once

namespace vorel {

void registerScalingBenchmarks();

}  // namespace vorel
