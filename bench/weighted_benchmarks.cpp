// The weighted models are the scaling benchmarks' synthetic ones with vertices taken out of
// their bones' lists and weighted over their bone and bones elsewhere in the tree.
#include "bench/weighted_benchmarks.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "bench/cost_counter.h"
#include "bench/ratio_reporter.h"
#include "bench/synthetic_scene.h"
#include "bench/update_loop.h"
#include "bench/weighted_floor.h"

namespace vorel {

namespace {

constexpr int VertexCounts[] = {10000, 100000};
constexpr int Bones = 100;
constexpr int Dances = 7;

// How the vertices of a model are weighted: `blendedNinths` of every nine vertices blend,
// over four bones each or, when `mixedCounts`, over two, three and four in turn.
struct Weighting {
    const char* name;
    int blendedNinths;
    bool mixedCounts;
};

// All four-influence, and the fox-like mix: a little over half the vertices blended (a fox
// we measured has 956 of its 1,728), over two to four bones.
constexpr Weighting Weightings[] = {{"four-influences", 9, false}, {"fox-like", 5, true}};

std::vector<BoneData*> bonesInWalkOrder(ModelData& model) {
    std::vector<BoneData*> order;
    std::vector<BoneData*> pending{model.rootBone.get()};
    while (!pending.empty()) {
        BoneData* bone = pending.back();
        pending.pop_back();
        order.push_back(bone);
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return order;
}

// Takes the chosen vertices out of their bones' lists and weights them over their bone and
// bones 37, 74 and 111 places further round the walk.
void weightVertices(ModelData& model, const Weighting& weighting) {
    const std::vector<BoneData*> bones = bonesInWalkOrder(model);
    const float weights[4] = {0.4f, 0.3f, 0.2f, 0.1f};
    for (std::size_t b = 0; b < bones.size(); ++b) {
        std::vector<std::int32_t> kept;
        for (const std::int32_t vertex : bones[b]->vertices) {
            if (vertex % 9 >= weighting.blendedNinths) {
                kept.push_back(vertex);
                continue;
            }
            WeightedVertex weighted;
            weighted.vertex = vertex;
            weighted.influences.count = weighting.mixedCounts ? 2 + vertex % 3 : 4;
            float sum = 0.0f;
            for (int k = 0; k < weighted.influences.count; ++k) sum += weights[k];
            for (int k = 0; k < weighted.influences.count; ++k) {
                weighted.influences.influences[k] = {
                    static_cast<std::int32_t>((b + 37u * static_cast<unsigned>(k)) % bones.size()),
                    weights[k] / sum};
            }
            model.weightedVertices.push_back(weighted);
        }
        bones[b]->vertices = kept;
    }
    model.header->version = WeightedModelVersion;
}

// The last library built, kept while consecutive benchmarks share it.
const AssetLibrary* libraryFor(int vertexCount, const Weighting* weighting, std::string& problem) {
    static int builtVertices = 0;
    static const Weighting* builtWeighting = nullptr;
    static std::unique_ptr<AssetLibrary> built;
    if (!built || builtVertices != vertexCount || builtWeighting != weighting) {
        LoadError error;
        built = makeSyntheticLibrary(vertexCount, Bones, Dances, &error);
        if (!built) {
            problem = error.describe();
            return nullptr;
        }
        if (weighting != nullptr) weightVertices(*built->models.front(), *weighting);
        builtVertices = vertexCount;
        builtWeighting = weighting;
    }
    return built.get();
}

std::string floorName(int vertexCount) {
    return "Weighted/floor/vertices:" + std::to_string(vertexCount);
}

void registerFloor(int vertexCount) {
    benchmark::RegisterBenchmark(
        floorName(vertexCount).c_str(), [vertexCount](benchmark::State& state) {
            std::string problem;
            const AssetLibrary* library = libraryFor(vertexCount, nullptr, problem);
            if (!library) return state.SkipWithError(problem.c_str());
            const ModelData& model = *library->models.front();
            timeWeightedFloor(state, model.positions, model.normals, Bones);
        });
}

// weighting null: the same model rigid, for the cost of the blend over the bone lists.
void registerUpdate(int vertexCount, const Weighting* weighting) {
    const std::string name =
        "Weighted/update/" + std::string(weighting ? weighting->name : "rigid") +
        "/vertices:" + std::to_string(vertexCount) + "/bones:" + std::to_string(Bones) +
        "/animations:" + std::to_string(Dances);
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
        std::string problem;
        const AssetLibrary* library = libraryFor(vertexCount, weighting, problem);
        if (!library) return state.SkipWithError(problem.c_str());
        std::vector<std::string> dances;
        for (int i = 0; i < Dances; ++i) dances.push_back(syntheticDanceName(i));
        Figure figure(library);
        timeUpdates(state, figure, dances);
        state.counters["per vertex"] = costPer(vertexCount);
    });
    compareWithFloor(name, floorName(vertexCount));
}

}  // namespace

void registerWeightedBenchmarks() {
    for (const int vertexCount : VertexCounts) {
        registerFloor(vertexCount);
        registerUpdate(vertexCount, nullptr);
        for (const Weighting& weighting : Weightings) registerUpdate(vertexCount, &weighting);
    }
}

}  // namespace vorel
