// Sampling benchmarks: one channel of 10,000 cubic keys sampled frame by frame forward, where
// the cached search moves a segment at a time, against the same channel at random times.
#pragma once

namespace vorel {

void registerSamplingBenchmarks();

}  // namespace vorel
