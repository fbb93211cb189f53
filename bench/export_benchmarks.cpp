// Export benchmarks: one iteration is one whole export of a loaded library, the figure built
// as the tool builds it and the file written to the temporary folder, so the time is the
// tool's own minus reading the files.
#include "bench/export_benchmarks.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "anim/record_motion.h"
#include "bench/synthetic_scene.h"
#include "bench/update_loop.h"
#include "gltf/gltf_export.h"
#include "gltf/write_gltf_file.h"

namespace vorel {

namespace {

constexpr int ExportVertices = 1000000;
constexpr int ExportBones = 20;
constexpr int ExportDances = 7;

}  // namespace

bool exportLibrary(const AssetLibrary& library, const std::string& path, GltfExportSummary& summary,
                   std::string& problem) {
    Figure figure(&library);
    const ModelData& model = *library.models.front();
    const std::vector<const BoneData*> bones = bonesInWalkOrder(model);
    std::vector<RecordedMotion> motions(library.animationNames.size());
    for (std::size_t i = 0; i < motions.size(); ++i) {
        if (!recordAnimation(figure, library.animationNames[i], bones, FrameStep, 1.0, motions[i],
                             problem))
            return false;
    }
    tinygltf::Model gltf;
    return exportGltf(model, library.modelNames.front(), motions, gltf, summary, problem) &&
           writeGltfAtomically(gltf, path, GltfContainer::Binary, problem);
}

namespace {

void timeExport(benchmark::State& state) {
    LoadError error;
    const std::unique_ptr<AssetLibrary> library =
        makeSyntheticLibrary(ExportVertices, ExportBones, ExportDances, &error);
    if (!library) return state.SkipWithError(error.describe().c_str());
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vorel-bench-export-" + std::to_string(getpid()) + ".glb"))
                                 .string();
    GltfExportSummary summary;
    std::string problem;
    for (auto _ : state) {
        if (!exportLibrary(*library, path, summary, problem))
            return state.SkipWithError(problem.c_str());
    }
    std::error_code ignored;
    state.counters["glb_MB"] = static_cast<double>(std::filesystem::file_size(path, ignored)) / 1e6;
    state.counters["gltf_vertices"] = static_cast<double>(summary.vertexCount);
    state.counters["keys"] = static_cast<double>(summary.keyCount);
    std::filesystem::remove(path, ignored);
}

}  // namespace

void registerExportBenchmarks() {
    const std::string name = "Export/vertices:" + std::to_string(ExportVertices) +
                             "/bones:" + std::to_string(ExportBones) +
                             "/dances:" + std::to_string(ExportDances);
    benchmark::RegisterBenchmark(name.c_str(), timeExport)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace vorel
