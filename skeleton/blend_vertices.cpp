// The blend loop, unrolled for each influence count so that the weighted sum of the matrices
// runs as straight-line arithmetic over flat arrays.
#include "skeleton/blend_vertices.h"

#include <cmath>

namespace vorel {

namespace {

// The turned normal scaled to the stored one's length; one turned to nothing stays zero rather
// than becoming a NaN.
inline Vector3 toLength(const Vector3& turned, float length) {
    const float turnedLength =
        std::sqrt(turned.x * turned.x + turned.y * turned.y + turned.z * turned.z);
    if (!(turnedLength > 0.0f)) return Vector3(0.0f, 0.0f, 0.0f);
    const float scale = length / turnedLength;
    return Vector3(turned.x * scale, turned.y * scale, turned.z * scale);
}

template <int Count>
void blendGroup(const WeightedGroup& group, const float* boneWorlds, const Vector3* bindPositions,
                const Vector3* bindNormals, Vector3* positions, Vector3* normals) {
    const std::int32_t* bones = group.bones.data();
    const float* weights = group.weights.data();
    const std::size_t* normalStart = group.normalStart.data();
    const std::int32_t* turned = group.normals.data();
    const float* lengths = group.normalLengths.data();
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
            const Vector3 direction(m[0] * n.x + m[3] * n.y + m[6] * n.z,
                                    m[1] * n.x + m[4] * n.y + m[7] * n.z,
                                    m[2] * n.x + m[5] * n.y + m[8] * n.z);
            normals[turned[j]] = toLength(direction, lengths[j]);
        }
    }
}

}  // namespace

void blendVertices(const WeightedGroup& group, const float* boneWorlds,
                   const Vector3* bindPositions, const Vector3* bindNormals, Vector3* positions,
                   Vector3* normals) {
    switch (group.count) {
        case 2:
            return blendGroup<2>(group, boneWorlds, bindPositions, bindNormals, positions, normals);
        case 3:
            return blendGroup<3>(group, boneWorlds, bindPositions, bindNormals, positions, normals);
        default:
            return blendGroup<4>(group, boneWorlds, bindPositions, bindNormals, positions, normals);
    }
}

}  // namespace vorel
