// vorel-bench: registers every benchmark and runs them through the reporter that adds the
// update / floor ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bvh_import_benchmarks.h"
#include "bench/dancer_benchmarks.h"
#ifdef VOREL_BENCH_EXPORT
#include "bench/export_benchmarks.h"
#include "bench/round_trip_benchmarks.h"
#endif
#ifdef VOREL_BENCH_IMPORT
#include "bench/child_peak.h"
#include "bench/import_benchmarks.h"
#endif
#include "bench/ratio_reporter.h"
#ifdef VOREL_BENCH_RETARGET
#include "bench/retarget_benchmarks.h"
#endif
#include "bench/sampling_benchmarks.h"
#include "bench/scaling_benchmarks.h"
#include "bench/weighted_benchmarks.h"

int main(int argc, char** argv) {
#ifdef VOREL_BENCH_IMPORT
    // Started afresh by the import benchmarks to measure vorel-import's own peak.
    if (argc > 2 && std::string(argv[1]) == vorel::ChildPeakOption)
        return vorel::reportChildPeak(argv + 2);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    std::string problem;
    if (!vorel::registerDancerBenchmarks(VOREL_DANCER_MANIFEST, problem)) {
        std::fprintf(stderr, "vorel-bench: %s\n", problem.c_str());
        return 1;
    }
#ifdef VOREL_BENCH_RETARGET
    if (!vorel::registerRetargetBenchmarks(VOREL_CMU_BVH, VOREL_DANCER_MANIFEST, problem)) {
        std::fprintf(stderr, "vorel-bench: %s\n", problem.c_str());
        return 1;
    }
#endif
    vorel::registerScalingBenchmarks();
    vorel::registerWeightedBenchmarks();
    vorel::registerSamplingBenchmarks();
#ifdef VOREL_BENCH_BVH_IMPORT
    vorel::registerBvhImportBenchmarks();
#endif
#ifdef VOREL_BENCH_EXPORT
    vorel::registerExportBenchmarks();
    if (!vorel::registerRoundTripBenchmarks(VOREL_DANCER_MANIFEST, problem)) {
        std::fprintf(stderr, "vorel-bench: %s\n", problem.c_str());
        return 1;
    }
#endif
#ifdef VOREL_BENCH_IMPORT
    vorel::registerImportBenchmarks(VOREL_ROBOT_GLB, VOREL_IMPORT_BINARY);
#endif
    vorel::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
