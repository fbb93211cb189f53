// vorel-bench: registers every benchmark and runs them through the reporter that adds the
// update / floor ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bvh_import_benchmarks.h"
#include "bench/dancer_benchmarks.h"
#ifdef VOREL_BENCH_EXPORT
#include "bench/export_benchmarks.h"
#endif
#ifdef VOREL_BENCH_IMPORT
#include "bench/import_benchmarks.h"
#endif
#include "bench/ratio_reporter.h"
#ifdef VOREL_BENCH_RETARGET
#include "bench/retarget_benchmarks.h"
#endif
#include "bench/sampling_benchmarks.h"
#include "bench/scaling_benchmarks.h"

int main(int argc, char** argv) {
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
    vorel::registerSamplingBenchmarks();
#ifdef VOREL_BENCH_BVH_IMPORT
    vorel::registerBvhImportBenchmarks();
#endif
#ifdef VOREL_BENCH_EXPORT
    vorel::registerExportBenchmarks();
#endif
#ifdef VOREL_BENCH_IMPORT
    vorel::registerImportBenchmarks(VOREL_ROBOT_GLB, VOREL_IMPORT_BINARY);
#endif
    vorel::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
