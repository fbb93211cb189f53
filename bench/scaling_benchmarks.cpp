// Scaling benchmarks, reporting cost per vertex and per bone-track pair (a bone and one track
// that drives it), so that growth that is not linear shows as a per-item cost that grows.
#include "bench/scaling_benchmarks.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "bench/cost_counter.h"
#include "bench/floor_skinning.h"
#include "bench/ratio_reporter.h"
#include "bench/synthetic_scene.h"
#include "bench/update_loop.h"

namespace vorel {

namespace {

constexpr int VertexCounts[] = {10000, 100000, 1000000};
constexpr int BoneCounts[] = {20, 100, 1000};
constexpr int AnimationCounts[] = {1, 7};
constexpr int MostAnimations = 7;

// The last library built, kept while consecutive benchmarks share its size: a million-vertex
// model takes a while to make and load.
// Null, with the reason in problem, when the synthetic files do not load back.
const AssetLibrary* libraryFor(int vertexCount, int boneCount, std::string& problem) {
    static int builtVertices = 0;
    static int builtBones = 0;
    static std::unique_ptr<AssetLibrary> built;
    if (!built || builtVertices != vertexCount || builtBones != boneCount) {
        built.reset();
        LoadError error;
        built = makeSyntheticLibrary(vertexCount, boneCount, MostAnimations, &error);
        if (!built) problem = error.describe();
        builtVertices = vertexCount;
        builtBones = boneCount;
    }
    return built.get();
}

std::string floorName(int vertexCount) {
    return "Scaling/floor/vertices:" + std::to_string(vertexCount);
}

void registerFloor(int vertexCount) {
    benchmark::RegisterBenchmark(
        floorName(vertexCount).c_str(), [vertexCount](benchmark::State& state) {
            std::string problem;
            const AssetLibrary* library = libraryFor(vertexCount, BoneCounts[0], problem);
            if (!library) return state.SkipWithError(problem.c_str());
            const ModelData& model = *library->models.front();
            timeFloor(state, model.positions, model.normals);
        });
}

void registerUpdate(int vertexCount, int boneCount, int animationCount) {
    const std::string name = "Scaling/update/vertices:" + std::to_string(vertexCount) +
                             "/bones:" + std::to_string(boneCount) +
                             "/animations:" + std::to_string(animationCount);
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        std::string problem;
        const AssetLibrary* library = libraryFor(vertexCount, boneCount, problem);
        if (!library) return state.SkipWithError(problem.c_str());
        std::vector<std::string> dances;
        for (int i = 0; i < animationCount; ++i) dances.push_back(syntheticDanceName(i));
        Figure figure(library);
        timeUpdates(state, figure, dances);
        state.counters["per vertex"] = costPer(vertexCount);
        // Each bone is driven by one track of every playing animation: if the cost grows
        // only with what is sampled and blended, this stays level as the bones grow.
        state.counters["per bone-track"] = costPer(static_cast<double>(boneCount) * animationCount);
    });
    compareWithFloor(name, floorName(vertexCount));
}

}  // namespace

void registerScalingBenchmarks() {
    for (const int vertexCount : VertexCounts) {
        registerFloor(vertexCount);
        for (const int boneCount : BoneCounts) {
            for (const int animationCount : AnimationCounts) {
                registerUpdate(vertexCount, boneCount, animationCount);
            }
        }
    }
}

}  // namespace vorel
