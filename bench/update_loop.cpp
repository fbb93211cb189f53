// timeUpdates, and the restart of dances that ended during the timing loop.
#include "bench/update_loop.h"

#include <algorithm>

#include "tests/support/allocation_counter.h"

namespace vorel {

namespace {

void startDance(Figure& figure, const std::string& name) {
    ActiveAnimation record(name, 0.0f);
    figure.startAnimation(record);
}

std::size_t playingCount(const Figure& figure, const std::string& name) {
    return static_cast<std::size_t>(
        std::count_if(figure.playing.begin(), figure.playing.end(),
                      [&name](const ActiveAnimation& record) { return record.name == name; }));
}

// Starts again each dance that plays fewer times than asked: the k-th copy of a name in the
// list is missing when fewer than k records of it play. Retired records are reused by
// startAnimation, so this allocates nothing either.
void restartEnded(Figure& figure, const std::vector<std::string>& dances) {
    for (auto name = dances.begin(); name != dances.end(); ++name) {
        const auto copy = static_cast<std::size_t>(std::count(dances.begin(), name + 1, *name));
        if (playingCount(figure, *name) < copy) startDance(figure, *name);
    }
}

}  // namespace

void timeUpdates(benchmark::State& state, Figure& figure, const std::vector<std::string>& dances) {
    figure.playing.clear();
    for (const std::string& name : dances) startDance(figure, name);
    // The first update sizes the walks' scratch stacks; every later one allocates nothing.
    figure.update(FrameStep);
    // Counted around the update alone: the timing loop itself may allocate.
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = test_support::allocationCount();
        figure.update(FrameStep);
        allocations += test_support::allocationCount() - before;
        if (figure.playing.size() < dances.size()) {
            state.PauseTiming();
            restartEnded(figure, dances);
            state.ResumeTiming();
        }
    }
    state.counters["allocs/iter"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

}  // namespace vorel
