// Whether work grows in proportion to its size: the processor time of a job at one size and at
// four times that size. Time in proportion gives a ratio near 4, time growing with the square
// near 16; tests expect less than 8, which leaves room for a loaded machine and a cold cache
// and none for a quadratic step.
#pragma once

#include <algorithm>
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

// job(n) at size and at 4 * size, each timed at its fastest of a few runs: the first run of a
// size also pays for warming up, and a run the machine slowed only counts if every run was.
template <class Job>
WorkGrowth workGrowth(Job&& job, int size) {
    WorkGrowth growth;
    growth.size = size;
    const auto fastest = [&job](int n, int runs) {
        double best = processorSeconds([&] { job(n); });
        for (int r = 1; r < runs; ++r) best = std::min(best, processorSeconds([&] { job(n); }));
        return best;
    };
    growth.seconds = fastest(size, 3);
    growth.fourTimesSeconds = fastest(4 * size, 2);
    return growth;
}

}  // namespace vorel::test_support
