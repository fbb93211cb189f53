// The weighted floor's data and its timing loop.
#include "bench/weighted_floor.h"

#include <cstdint>

#include "bench/cost_counter.h"

namespace vorel {

namespace {

constexpr int Influences = 4;
constexpr int Floats = 12;

struct WeightedFloorData {
    std::vector<std::int32_t> bones;
    std::vector<float> weights;
    std::vector<float> transforms;
    std::vector<Vector3> normalOfVertex;
};

WeightedFloorData makeData(const std::vector<Vector3>& bindPositions,
                           const std::vector<Vector3>& bindNormals, int boneCount) {
    WeightedFloorData data;
    const float weights[Influences] = {0.4f, 0.3f, 0.2f, 0.1f};
    for (std::size_t v = 0; v < bindPositions.size(); ++v) {
        for (int k = 0; k < Influences; ++k) {
            data.bones.push_back(static_cast<std::int32_t>((v / 64 + 37u * k) % boneCount));
            data.weights.push_back(weights[k]);
        }
        data.normalOfVertex.push_back(bindNormals[v % bindNormals.size()]);
    }
    for (int b = 0; b < boneCount; ++b) {
        const float turn = 0.001f * static_cast<float>(b);
        const float m[Floats] = {1.0f, turn, 0.0f, -turn, 1.0f,   0.0f,
                                 0.0f, 0.0f, 1.0f, 0.5f,  -0.25f, turn};
        data.transforms.insert(data.transforms.end(), m, m + Floats);
    }
    return data;
}

void skinWeightedFloor(const std::vector<Vector3>& bindPositions, const WeightedFloorData& data,
                       std::vector<Vector3>& positions, std::vector<Vector3>& normals) {
    const std::int32_t* bones = data.bones.data();
    const float* weights = data.weights.data();
    const float* transforms = data.transforms.data();
    for (std::size_t v = 0; v < bindPositions.size(); ++v) {
        float m[Floats] = {};
        for (int k = 0; k < Influences; ++k) {
            const float* t = transforms + Floats * bones[Influences * v + k];
            const float w = weights[Influences * v + k];
            for (int e = 0; e < Floats; ++e) m[e] += w * t[e];
        }
        const Vector3& p = bindPositions[v];
        positions[v] = Vector3(m[0] * p.x + m[3] * p.y + m[6] * p.z + m[9],
                               m[1] * p.x + m[4] * p.y + m[7] * p.z + m[10],
                               m[2] * p.x + m[5] * p.y + m[8] * p.z + m[11]);
        const Vector3& n = data.normalOfVertex[v];
        normals[v] =
            Vector3(m[0] * n.x + m[3] * n.y + m[6] * n.z, m[1] * n.x + m[4] * n.y + m[7] * n.z,
                    m[2] * n.x + m[5] * n.y + m[8] * n.z);
    }
}

}  // namespace

void timeWeightedFloor(benchmark::State& state, const std::vector<Vector3>& bindPositions,
                       const std::vector<Vector3>& bindNormals, int boneCount) {
    const WeightedFloorData data = makeData(bindPositions, bindNormals, boneCount);
    std::vector<Vector3> positions(bindPositions.size());
    std::vector<Vector3> normals(bindPositions.size());
    for (auto _ : state) {
        skinWeightedFloor(bindPositions, data, positions, normals);
        benchmark::ClobberMemory();
    }
    state.counters["per vertex"] = costPer(static_cast<double>(bindPositions.size()));
}

}  // namespace vorel
