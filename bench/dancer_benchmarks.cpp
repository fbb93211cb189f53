// Dancer benchmarks: one fresh figure per run, built from the library the viewer would load.
#include "bench/dancer_benchmarks.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "anim/figure.h"
#include "bench/cost_counter.h"
#include "bench/floor_skinning.h"
#include "bench/ratio_reporter.h"
#include "bench/update_loop.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

namespace {

struct DanceCase {
    std::string label;
    std::vector<std::string> dances;
};

std::vector<std::string> twice(const std::vector<std::string>& dances) {
    std::vector<std::string> both = dances;
    both.insert(both.end(), dances.begin(), dances.end());
    return both;
}

std::vector<DanceCase> danceCases(const AssetLibrary& library) {
    const std::vector<std::string>& seven = library.animationNames;
    const std::vector<std::string> one(seven.begin(), seven.begin() + (seven.empty() ? 0 : 1));
    return {{"none", {}},
            {"one", one},
            {"one x2", twice(one)},
            {"all seven", seven},
            {"all seven x2", twice(seven)}};
}

}  // namespace

bool registerDancerBenchmarks(const std::string& manifestPath, std::string& problem) {
    // The figure keeps pointers into the library for as long as benchmarks may run.
    static std::unique_ptr<AssetLibrary> library;
    library = loadLibraryBesideManifest(manifestPath, problem);
    if (!library) return false;
    const ModelData& model = *library->models.front();
    const std::string floorName = "Dancer/floor";
    benchmark::RegisterBenchmark(floorName.c_str(), [&model](benchmark::State& state) {
        timeFloor(state, model.positions, model.normals);
    });
    for (const DanceCase& danceCase : danceCases(*library)) {
        const std::string name = "Dancer/update/" + danceCase.label;
        const std::vector<std::string> dances = danceCase.dances;
        const double vertices = static_cast<double>(model.positions.size());
        benchmark::RegisterBenchmark(name.c_str(), [dances, vertices](benchmark::State& state) {
            Figure figure(library.get());
            timeUpdates(state, figure, dances);
            state.counters["per vertex"] = costPer(vertices);
        });
        compareWithFloor(name, floorName);
    }
    return true;
}

}  // namespace vorel
