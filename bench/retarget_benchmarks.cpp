#include "bench/retarget_benchmarks.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "retarget/retarget_file.h"
#include "tests/support/program_runner.h"
#include "tests/support/three_joint_capture.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

namespace {

// Runs the whole retarget of the source at every iteration; the keys kept are its counter.
void registerRetarget(const std::string& name, const std::string& sourcePath,
                      const AssetLibrary& library) {
    RetargetRequest request;
    request.sourcePath = sourcePath;
    benchmark::RegisterBenchmark(name.c_str(), [request, &library](benchmark::State& state) {
        std::size_t keys = 0;
        for (auto _ : state) {
            RetargetOutcome outcome;
            LoadError error;
            if (!retargetFile(request, *library.models.front(), outcome, error)) {
                state.SkipWithError(error.describe().c_str());
                return;
            }
            keys = outcome.animation.keysAfter;
            benchmark::DoNotOptimize(keys);
        }
        state.counters["keys kept"] = static_cast<double>(keys);
    })->Unit(benchmark::kMillisecond);
}

// The long captures, written once into a scratch folder that is removed when the run ends.
std::string writeLongCapture(int frames) {
    static const std::string folder = [] {
        const std::string made = test_support::makeScratchFolder();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return made;
    }();
    const std::string path = folder + "/three-joints-" + std::to_string(frames) + ".bvh";
    test_support::writeBytes(path, test_support::threeJointCapture(frames));
    return path;
}

}  // namespace

bool registerRetargetBenchmarks(const std::string& capturePath, const std::string& manifestPath,
                                std::string& problem) {
    static std::unique_ptr<AssetLibrary> library;
    library = loadLibraryBesideManifest(manifestPath, problem);
    if (!library) return false;
    registerRetarget("Retarget/cmu_93_03", capturePath, *library);
    for (const int frames : {10000, 100000}) {
        registerRetarget("Retarget/three_joints_" + std::to_string(frames / 1000) + "k",
                         writeLongCapture(frames), *library);
    }
    return true;
}

}  // namespace vorel
