// Whether work grows in proportion to its size: the processor time of a job at one size and at
// four times that size. Time in proportion gives a ratio near 4, time growing with the square
// near 16; tests expect less than 8, which leaves room for a loaded machine and a cold cache
// and none for a quadratic step.
#pragma once

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>

namespace vorel::test_support {

// Four times the size: at most this ratio of times passes as linear.
constexpr double MostLinearGrowth = 8.0;

// The processor seconds one run of job() takes.
template <class Job>
double processorSeconds(Job&& job) {
    const std::clock_t start = std::clock();
    job();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

struct WorkGrowth {
    int size = 0;
    double seconds = 0.0;
    double fourTimesSeconds = 0.0;

    double ratio() const { return fourTimesSeconds / std::max(seconds, 1e-9); }
    std::string describe() const {
        return std::to_string(seconds) + " s at size " + std::to_string(size) + ", " +
               std::to_string(fourTimesSeconds) + " s at size " + std::to_string(4 * size);
    }
};

// A timing shorter than this is mostly noise (a context switch, a cold cache): a quick job is
// repeated until one timing at the smaller size lasts at least this long.
constexpr double ShortestTiming = 0.05;

// job(n) at size and at 4 * size, each timed at its fastest of a few runs: the first run of a
// size also pays for warming up, and a run the machine slowed only counts if every run was.
// Both sizes repeat the job equally often, so the ratio stays the ratio of one job's times.
template <class Job>
WorkGrowth workGrowth(Job&& job, int size) {
    WorkGrowth growth;
    growth.size = size;
    int repeats = 1;
    const auto timed = [&job, &repeats](int n) {
        return processorSeconds([&] {
            for (int r = 0; r < repeats; ++r) job(n);
        });
    };
    const double once = timed(size);
    if (once < ShortestTiming)
        repeats = static_cast<int>(std::ceil(ShortestTiming / std::max(once, 1e-6)));
    const auto fastest = [&timed](int n, int runs) {
        double best = timed(n);
        for (int r = 1; r < runs; ++r) best = std::min(best, timed(n));
        return best;
    };
    growth.seconds = fastest(size, 3) / repeats;
    growth.fourTimesSeconds = fastest(4 * size, 2) / repeats;
    return growth;
}

}  // namespace vorel::test_support
