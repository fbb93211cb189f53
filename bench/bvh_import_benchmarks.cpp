// One iteration imports the whole capture and writes its set.
#include "bench/bvh_import_benchmarks.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "assets/write_set.h"
#include "bench/long_capture.h"
#include "bvh/import_bvh.h"
#include "tests/support/allocation_counter.h"

namespace vorel {

namespace {

constexpr int CaptureFrames = 100000;

const std::string& longCapture() {
    static const std::string text = makeLongCapture(VOREL_CMU_BVH, CaptureFrames);
    return text;
}

void importLongCapture(benchmark::State& state) {
    const std::string& text = longCapture();
    if (text.empty()) {
        state.SkipWithError("cannot read the skeleton of the capture");
        return;
    }
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("vorel-bench-bvh-" + std::to_string(getpid())))
            .string();
    double peakMegabytes = 0.0;
    std::size_t keyTimes = 0;
    for (auto _ : state) {
        const std::size_t heldBefore = test_support::heldBytes();
        test_support::resetPeakHeldBytes();
        ImportedSet imported;
        BvhImportSummary summary;
        LoadError error;
        std::string problem;
        if (!importBvhText(text, "long.bvh", ImportOptions{}, imported, summary, error)) {
            state.SkipWithError(error.describe().c_str());
            break;
        }
        if (!writeSetAtomically(setForImport(imported), folder, problem)) {
            state.SkipWithError(problem.c_str());
            break;
        }
        keyTimes = imported.animations[0].keyTimes;
        peakMegabytes = static_cast<double>(test_support::peakHeldBytes() - heldBefore) / 1e6;
    }
    std::filesystem::remove_all(folder);
    const double captureMegabytes = static_cast<double>(text.size()) / 1e6;
    state.counters["capture MB"] = captureMegabytes;
    state.counters["peak heap MB"] = peakMegabytes;
    state.counters["heap / capture"] = peakMegabytes / captureMegabytes;
    state.counters["key times"] = static_cast<double>(keyTimes);
}

}  // namespace

void registerBvhImportBenchmarks() {
    benchmark::RegisterBenchmark("ImportBvh/100000 frames", importLongCapture)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

}  // namespace vorel
