#include "bench/retarget_benchmarks.h"

#include <benchmark/benchmark.h>

#include <memory>

#include "retarget/retarget_file.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

bool registerRetargetBenchmarks(const std::string& capturePath, const std::string& manifestPath,
                                std::string& problem) {
    static std::unique_ptr<AssetLibrary> library;
    library = loadLibraryBesideManifest(manifestPath, problem);
    if (!library) return false;
    RetargetRequest request;
    request.sourcePath = capturePath;
    benchmark::RegisterBenchmark("Retarget/cmu_93_03", [request](benchmark::State& state) {
        std::size_t keys = 0;
        for (auto _ : state) {
            RetargetOutcome outcome;
            LoadError error;
            if (!retargetFile(request, *library->models.front(), outcome, error)) {
                state.SkipWithError(error.describe().c_str());
                return;
            }
            keys = outcome.animation.keysAfter;
            benchmark::DoNotOptimize(keys);
        }
        state.counters["keys kept"] = static_cast<double>(keys);
    })->Unit(benchmark::kMillisecond);
    return true;
}

}  // namespace vorel
