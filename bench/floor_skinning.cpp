// skinFloor and its timing loop.
#include "bench/floor_skinning.h"

#include "bench/cost_counter.h"
#include "math/quaternion.h"

namespace vorel {

void skinFloor(const std::vector<Vector3>& bindPositions, const std::vector<Vector3>& bindNormals,
               const Matrix4& transform, FloorBuffers& skinned) {
    const float* m = &transform.columns[0].x;
    const std::size_t positionCount = bindPositions.size();
    for (std::size_t i = 0; i < positionCount; ++i) {
        const Vector3& p = bindPositions[i];
        skinned.positions[i] = Vector3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                                       m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                                       m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
    }
    const std::size_t normalCount = bindNormals.size();
    for (std::size_t i = 0; i < normalCount; ++i) {
        const Vector3& n = bindNormals[i];
        skinned.normals[i] =
            Vector3(m[0] * n.x + m[4] * n.y + m[8] * n.z, m[1] * n.x + m[5] * n.y + m[9] * n.z,
                    m[2] * n.x + m[6] * n.y + m[10] * n.z);
    }
}

void timeFloor(benchmark::State& state, const std::vector<Vector3>& bindPositions,
               const std::vector<Vector3>& bindNormals) {
    FloorBuffers skinned{bindPositions, bindNormals};
    Matrix4 transform;
    transform.rotateBy(Quaternion(Vector3(1.0f, 2.0f, 3.0f), 40.0f, true));
    transform.setColumn(3, 0.5f, -0.25f, 1.0f);
    for (auto _ : state) {
        skinFloor(bindPositions, bindNormals, transform, skinned);
        benchmark::ClobberMemory();
    }
    state.counters["per vertex"] = costPer(static_cast<double>(bindPositions.size()));
}

}  // namespace vorel
