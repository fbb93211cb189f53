// Times importGltfBytes, and runs vorel-import as a child process to read its peak resident
// memory from the kernel (bench/child_peak.h), which no in-process counter can see whole.
#include "bench/import_benchmarks.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "assets/file_bytes.h"
#include "bench/child_peak.h"
#include "bench/synthetic_fbx.h"
#include "bench/synthetic_gltf.h"
#include "fbx/import_fbx.h"
#include "gltf/import_gltf.h"

namespace vorel {

namespace {

// An input file in the temporary folder, named after the process so that runs side by side
// never share one, and removed with it.
struct ImportInput {
    std::string name;
    std::string bytes;
    std::string path;

    ImportInput() = default;
    ImportInput(const ImportInput&) = delete;
    ImportInput& operator=(const ImportInput&) = delete;
    ~ImportInput() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove(path, ignored);
    }
};

// A million vertices: 1000 x 1000.
constexpr int SyntheticSide = 1000;
constexpr int SyntheticJoints = 100;
constexpr int SyntheticKeys = 30;
// An animation as exporters bake it: a key every frame at 30 per second for 10 seconds, on
// 70 joints of a small grid, so the key reduction is most of the import.
constexpr int BakedSide = 32;
constexpr int BakedJoints = 70;
constexpr int BakedKeys = 300;
// The same character at the size of a typical FBX character: 224 x 224 (50176) vertices, 70
// joints and ten seconds of keys, in each format.
constexpr int CharacterSide = 224;
constexpr int CharacterJoints = 70;
constexpr int CharacterKeys = 301;

void importInMemory(benchmark::State& state, const ImportInput* input) {
    ImportOptions options;
    const bool fbx = input->path.size() > 4 && input->path.substr(input->path.size() - 4) == ".fbx";
    for (auto _ : state) {
        ImportedSet imported;
        LoadError error;
        const bool done =
            fbx ? importFbxBytes(input->bytes, input->name, options, imported, error)
                : importGltfBytes(input->bytes, input->name, options, imported, error);
        if (!done) {
            state.SkipWithError(error.describe().c_str());
            return;
        }
        benchmark::DoNotOptimize(imported.model.get());
    }
    state.counters["file_MB"] = static_cast<double>(input->bytes.size()) / 1e6;
}

void importWithTheTool(benchmark::State& state, const ImportInput* input,
                       const std::string* program) {
    const std::string output = input->path + ".set";
    long peak = -1;
    // Every iteration after the first replaces the set the one before wrote.
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        peak = peakKilobytesOfRun({*program, "--replace", input->path, output});
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (peak < 0) break;
    }
    std::filesystem::remove_all(output);
    if (peak < 0) return state.SkipWithError("vorel-import failed");
    const double fileMegabytes = static_cast<double>(input->bytes.size()) / 1e6;
    state.counters["file_MB"] = fileMegabytes;
    state.counters["peak_MB"] = static_cast<double>(peak) * 1024.0 / 1e6;
    state.counters["peak_per_file"] = static_cast<double>(peak) * 1024.0 / 1e6 / fileMegabytes;
}

// Made on first use and kept: the synthetic file takes a while to build.
ImportInput* input(const std::string& name, const std::string& robotPath) {
    static std::vector<std::unique_ptr<ImportInput>> made;
    for (const auto& existing : made) {
        if (existing->name == name) return existing.get();
    }
    auto created = std::make_unique<ImportInput>();
    created->name = name;
    const bool fbx = name.rfind("Fbx", 0) == 0;
    if (name == "RobotExpressive") {
        readFileBytes(robotPath, created->bytes, nullptr);
    } else if (name == "Baked10s70Joints") {
        created->bytes = makeSyntheticGlb(BakedSide, BakedJoints, BakedKeys);
    } else if (name == "Synthetic1MVertices100Joints") {
        created->bytes = makeSyntheticGlb(SyntheticSide, SyntheticJoints, SyntheticKeys);
    } else if (fbx) {
        created->bytes = makeSyntheticFbx(CharacterSide, CharacterJoints, CharacterKeys);
    } else {
        created->bytes = makeSyntheticGlb(CharacterSide, CharacterJoints, CharacterKeys);
    }
    created->path =
        (std::filesystem::temp_directory_path() /
         ("vorel-bench-" + name + "-" + std::to_string(getpid()) + (fbx ? ".fbx" : ".glb")))
            .string();
    writeFileBytes(created->path, created->bytes);
    made.push_back(std::move(created));
    return made.back().get();
}

}  // namespace

void registerImportBenchmarks(const std::string& robotPath, const std::string& importProgram) {
    static const std::string program = importProgram;
    static const std::string robot = robotPath;
    for (const char* name : {"RobotExpressive", "Synthetic1MVertices100Joints"}) {
        const std::string label = name;
        benchmark::RegisterBenchmark(("ImportGltf/" + label).c_str(), [label](
                                                                          benchmark::State& state) {
            importInMemory(state, input(label, robot));
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ImportTool/" + label).c_str(),
                                     [label](benchmark::State& state) {
                                         importWithTheTool(state, input(label, robot), &program);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
    }
    benchmark::RegisterBenchmark("ImportGltf/Baked10s70Joints", [](benchmark::State& state) {
        importInMemory(state, input("Baked10s70Joints", robot));
    })->Unit(benchmark::kMillisecond);
    // The FBX importer beside the glTF one on the same character.
    for (const char* name :
         {"Character50kVertices70Joints10s", "FbxCharacter50kVertices70Joints10s"}) {
        const std::string label = name;
        const std::string format = label.rfind("Fbx", 0) == 0 ? "ImportFbx/" : "ImportGltf/";
        benchmark::RegisterBenchmark((format + label).c_str(), [label](benchmark::State& state) {
            importInMemory(state, input(label, robot));
        })->Unit(benchmark::kMillisecond);
    }
}

}  // namespace vorel
