// timeUpdates: the one timing loop of Figure::update shared by the dancer and the scaling
// benchmarks, so every update figure is measured the same way.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "anim/figure.h"

namespace vorel {

// The viewer's step per frame.
constexpr float FrameStep = 0.01f;

// Starts the named dances (a name given twice plays twice) and times one update per
// iteration. A dance that ends is started again with the timer stopped, so that every timed
// frame samples all of them. Reports allocations per iteration.
void timeUpdates(benchmark::State& state, Figure& figure, const std::vector<std::string>& dances);

}  // namespace vorel
