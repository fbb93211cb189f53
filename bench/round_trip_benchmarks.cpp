// Round-trip benchmarks: export, import with the tool's default options, write the set and
// load it back as the viewer loads it; then the same update loop on the native and the
// re-imported library, and their ratio from the same run.
#include "bench/round_trip_benchmarks.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "anim/figure.h"
#include "bench/export_benchmarks.h"
#include "bench/ratio_reporter.h"
#include "bench/synthetic_scene.h"
#include "bench/update_loop.h"
#include "gltf/import_gltf.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

namespace {

constexpr int SyntheticVertices = 10000;
constexpr int SyntheticBones = 100;
constexpr int SyntheticDances = 7;

// The library exported and imported again; null, with problem set, on failure. The files
// live in a temporary folder removed once the set is loaded.
std::unique_ptr<AssetLibrary> roundTrip(const AssetLibrary& library, std::string& problem) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vorel-bench-round-trip-" + std::to_string(getpid()));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    const std::string glb = (folder / "set.glb").string();
    const std::string set = (folder / "set").string();
    GltfExportSummary summary;
    ImportedSet imported;
    LoadError error;
    std::unique_ptr<AssetLibrary> result;
    if (!exportLibrary(library, glb, summary, problem)) {
    } else if (!importGltf(glb, ImportOptions{}, imported, error)) {
        problem = error.describe();
    } else if (writeSetAtomically(setForImport(imported), set, problem)) {
        result = loadLibraryBesideManifest(set + "/vorel.txt", problem);
    }
    std::filesystem::remove_all(folder, ignored);
    return result;
}

// The first seven dances: the keys a re-imported set lists first, under the native names.
std::vector<std::string> sevenDances(const AssetLibrary& library) {
    const std::vector<std::string>& names = library.animationNames;
    return std::vector<std::string>(names.begin(),
                                    names.begin() + std::min<std::size_t>(7, names.size()));
}

// The keys of every channel of the first seven animations.
double keysOfSevenDances(const AssetLibrary& library) {
    std::size_t keys = 0;
    for (std::size_t a = 0; a < library.animations.size() && a < 7; ++a) {
        for (const TrackData& track : library.animations[a]->tracks) {
            for (const std::vector<Keyframe>& channel : track.channels) keys += channel.size();
        }
    }
    return static_cast<double>(keys);
}

void registerUpdate(const std::string& name, const AssetLibrary* library) {
    benchmark::RegisterBenchmark(name.c_str(), [library](benchmark::State& state) {
        Figure figure(library);
        timeUpdates(state, figure, sevenDances(*library));
        const ModelData& model = *library->models.front();
        state.counters["positions"] = static_cast<double>(model.positions.size());
        state.counters["normals"] = static_cast<double>(model.normals.size());
        state.counters["keys"] = keysOfSevenDances(*library);
    });
}

// Keeps both libraries for as long as benchmarks may run.
bool registerPair(const std::string& label, std::unique_ptr<AssetLibrary> native,
                  std::string& problem) {
    static std::vector<std::unique_ptr<AssetLibrary>> kept;
    std::unique_ptr<AssetLibrary> reimported = roundTrip(*native, problem);
    if (!reimported) return false;
    const std::string nativeName = "RoundTrip/" + label + "/native/all seven";
    const std::string reimportedName = "RoundTrip/" + label + "/reimported/all seven";
    registerUpdate(nativeName, native.get());
    registerUpdate(reimportedName, reimported.get());
    compareTimes("re-imported / native", reimportedName, nativeName);
    kept.push_back(std::move(native));
    kept.push_back(std::move(reimported));
    return true;
}

}  // namespace

bool registerRoundTripBenchmarks(const std::string& dancerManifest, std::string& problem) {
    std::unique_ptr<AssetLibrary> dancer = loadLibraryBesideManifest(dancerManifest, problem);
    if (!dancer || !registerPair("dancer", std::move(dancer), problem)) return false;
    LoadError error;
    std::unique_ptr<AssetLibrary> synthetic =
        makeSyntheticLibrary(SyntheticVertices, SyntheticBones, SyntheticDances, &error);
    if (!synthetic) {
        problem = error.describe();
        return false;
    }
    return registerPair("10k vertices, 100 bones", std::move(synthetic), problem);
}

}  // namespace vorel
