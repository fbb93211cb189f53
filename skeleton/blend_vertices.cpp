// The blend loop, unrolled for each influence count so that the weighted sum of the matrices
// runs as straight-line arithmetic over flat arrays, then the normals' scaling over flat arrays
// of its own. Every operation is one IEEE single-precision step in a fixed order, so native and
// WebAssembly builds agree bit for bit.
#include "skeleton/blend_vertices.h"

#include <cmath>

namespace vorel {

namespace {

template <int Count>
void blendGroup(const WeightedGroup& group, const float* boneWorlds, const Vector3* bindPositions,
                const Vector3* bindNormals, Vector3* positions, BlendScratch& scratch) {
    const std::int32_t* bones = group.bones.data();
    const float* weights = group.weights.data();
    const std::size_t* normalStart = group.normalStart.data();
    const std::int32_t* turned = group.normals.data();
    Vector3* directions = scratch.directions.data();
    float* squaredLengths = scratch.squaredLengths.data();
    const std::size_t vertexCount = group.vertices.size();
    for (std::size_t i = 0; i < vertexCount; ++i) {
        float m[WorldFloats];
        const float* first = boneWorlds + WorldFloats * bones[Count * i];
        const float w0 = weights[Count * i];
        for (int e = 0; e < WorldFloats; ++e) m[e] = w0 * first[e];
        for (int k = 1; k < Count; ++k) {
            const float* world = boneWorlds + WorldFloats * bones[Count * i + k];
            const float w = weights[Count * i + k];
            for (int e = 0; e < WorldFloats; ++e) m[e] += w * world[e];
        }
        const std::int32_t v = group.vertices[i];
        const Vector3& p = bindPositions[v];
        positions[v] = Vector3(m[0] * p.x + m[3] * p.y + m[6] * p.z + m[9],
                               m[1] * p.x + m[4] * p.y + m[7] * p.z + m[10],
                               m[2] * p.x + m[5] * p.y + m[8] * p.z + m[11]);
        for (std::size_t j = normalStart[i]; j < normalStart[i + 1]; ++j) {
            const Vector3& n = bindNormals[turned[j]];
            const Vector3 d(m[0] * n.x + m[3] * n.y + m[6] * n.z,
                            m[1] * n.x + m[4] * n.y + m[7] * n.z,
                            m[2] * n.x + m[5] * n.y + m[8] * n.z);
            directions[j] = d;
            squaredLengths[j] = d.x * d.x + d.y * d.y + d.z * d.z;
        }
    }
}

// Each turned normal scaled to its stored length; one turned to nothing stays zero rather than
// becoming a NaN.
void scaleNormals(const WeightedGroup& group, Vector3* normals, BlendScratch& scratch) {
    const std::size_t count = group.normals.size();
    const float* lengths = group.normalLengths.data();
    const float* squaredLengths = scratch.squaredLengths.data();
    float* scales = scratch.scales.data();
    for (std::size_t j = 0; j < count; ++j) {
        const float turnedLength = std::sqrt(squaredLengths[j]);
        scales[j] = turnedLength > 0.0f ? lengths[j] / turnedLength : 0.0f;
    }
    const std::int32_t* turned = group.normals.data();
    const Vector3* directions = scratch.directions.data();
    for (std::size_t j = 0; j < count; ++j) {
        const Vector3& d = directions[j];
        normals[turned[j]] = squaredLengths[j] > 0.0f
                                 ? Vector3(d.x * scales[j], d.y * scales[j], d.z * scales[j])
                                 : Vector3(0.0f, 0.0f, 0.0f);
    }
}

}  // namespace

void BlendScratch::reserveFor(std::size_t normalCount) {
    if (directions.size() >= normalCount) return;
    directions.resize(normalCount);
    squaredLengths.resize(normalCount);
    scales.resize(normalCount);
}

void blendVertices(const WeightedGroup& group, const float* boneWorlds,
                   const Vector3* bindPositions, const Vector3* bindNormals, Vector3* positions,
                   Vector3* normals, BlendScratch& scratch) {
    switch (group.count) {
        case 2:
            blendGroup<2>(group, boneWorlds, bindPositions, bindNormals, positions, scratch);
            break;
        case 3:
            blendGroup<3>(group, boneWorlds, bindPositions, bindNormals, positions, scratch);
            break;
        default:
            blendGroup<4>(group, boneWorlds, bindPositions, bindNormals, positions, scratch);
            break;
    }
    scaleNormals(group, normals, scratch);
}

}  // namespace vorel
