// Merging bit-equal positions and normals group by group (a group is one bone's data, the
// weighted vertices of one influence set, or the vertices no bone moves). Sorting, not hashing,
// finds the equal ones: the work stays n log n whatever values a hostile file chooses.
#include "convert/weld_mesh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <tuple>

namespace vorel {

namespace {

// Sorts after every bone and influence set, so the vertices nothing moves come last.
constexpr std::int64_t NoBone = std::numeric_limits<std::int64_t>::max();

// One occurrence of a value: its group, its bits and where it occurs.
struct Occurrence {
    std::int64_t group;
    std::uint32_t bits[3];
    std::int32_t at;

    bool sameValue(const Occurrence& other) const {
        return group == other.group && std::memcmp(bits, other.bits, sizeof bits) == 0;
    }
    bool operator<(const Occurrence& other) const {
        return std::tie(group, bits[0], bits[1], bits[2], at) <
               std::tie(other.group, other.bits[0], other.bits[1], other.bits[2], other.at);
    }
};

Occurrence occurrenceOf(std::int64_t group, const Vector3& value, std::int32_t at) {
    Occurrence occurrence{group, {0, 0, 0}, at};
    std::memcpy(occurrence.bits, &value.x, sizeof(float));
    std::memcpy(occurrence.bits + 1, &value.y, sizeof(float));
    std::memcpy(occurrence.bits + 2, &value.z, sizeof(float));
    return occurrence;
}

// The occurrences (their `at` running over 0 .. n-1) of one merged value each.
struct MergedValues {
    // Per occurrence (by its `at`), the index of its merged value.
    std::vector<std::int32_t> indexOf;
    // Per merged value, its group and the occurrence that first gave it.
    std::vector<std::int64_t> group;
    std::vector<std::int32_t> firstAt;
};

// Numbers the distinct (group, bits) values by group, then by the first occurrence; `slots`
// is one past the greatest `at`.
MergedValues mergeEqual(std::vector<Occurrence> occurrences, std::size_t slots) {
    std::sort(occurrences.begin(), occurrences.end());
    struct Run {
        std::int64_t group;
        std::int32_t firstAt;
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        if (i == 0 || !occurrences[i].sameValue(occurrences[i - 1]))
            runs.push_back({occurrences[i].group, occurrences[i].at, i, i});
        runs.back().end = i + 1;
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return std::tie(a.group, a.firstAt) < std::tie(b.group, b.firstAt);
    });
    MergedValues merged;
    merged.indexOf.resize(slots);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        merged.group.push_back(runs[r].group);
        merged.firstAt.push_back(runs[r].firstAt);
        for (std::size_t i = runs[r].begin; i < runs[r].end; ++i)
            merged.indexOf[static_cast<std::size_t>(occurrences[i].at)] =
                static_cast<std::int32_t>(r);
    }
    return merged;
}

bool isWeighted(const ImportedMesh& mesh, std::size_t vertex) {
    return vertex < mesh.influences.size() && mesh.influences[vertex].count > 0;
}

// The influences' bits in use, for comparing and ordering influence sets exactly.
using InfluenceBits = std::array<std::uint32_t, 1 + 2 * MaxInfluences>;

InfluenceBits influenceBits(const VertexInfluences& influences) {
    InfluenceBits bits{};
    bits[0] = static_cast<std::uint32_t>(influences.count);
    for (std::size_t k = 0; k < static_cast<std::size_t>(influences.count); ++k) {
        bits[1 + 2 * k] = static_cast<std::uint32_t>(influences.influences[k].bone);
        std::memcpy(&bits[2 + 2 * k], &influences.influences[k].weight, sizeof(float));
    }
    return bits;
}

// Each vertex's group: its bone, or for a weighted vertex the bone count plus the first
// vertex with bit-equal influences, or NoBone.
std::vector<std::int64_t> groupOfEachVertex(const ImportedMesh& mesh) {
    std::vector<std::int64_t> group(mesh.positions.size(), NoBone);
    for (std::size_t b = 0; b < mesh.boneVertices.size(); ++b) {
        for (std::int32_t vertex : mesh.boneVertices[b])
            group[static_cast<std::size_t>(vertex)] = static_cast<std::int64_t>(b);
    }
    std::vector<std::pair<InfluenceBits, std::size_t>> weighted;
    for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
        if (isWeighted(mesh, v)) weighted.emplace_back(influenceBits(mesh.influences[v]), v);
    }
    std::sort(weighted.begin(), weighted.end());
    const auto boneCount = static_cast<std::int64_t>(mesh.boneVertices.size());
    for (std::size_t i = 0, first = 0; i < weighted.size(); ++i) {
        if (weighted[i].first != weighted[first].first) first = i;
        group[weighted[i].second] = boneCount + static_cast<std::int64_t>(weighted[first].second);
    }
    return group;
}

// The value each merged entry stands for, as the occurrence that first gave it.
template <typename ValueOf>
std::vector<Vector3> mergedList(const MergedValues& merged, ValueOf valueOf) {
    std::vector<Vector3> values;
    values.reserve(merged.firstAt.size());
    for (std::int32_t at : merged.firstAt) values.push_back(valueOf(static_cast<std::size_t>(at)));
    return values;
}

}  // namespace

void weldMesh(ImportedMesh& mesh) {
    const std::vector<std::int64_t> boneOf = groupOfEachVertex(mesh);
    std::vector<Occurrence> vertices;
    vertices.reserve(mesh.positions.size());
    for (std::size_t v = 0; v < mesh.positions.size(); ++v)
        vertices.push_back(
            occurrenceOf(boneOf[v], mesh.positions[v], static_cast<std::int32_t>(v)));
    const MergedValues positions = mergeEqual(std::move(vertices), mesh.positions.size());

    // A normal occurs at a face corner, in the group of the corner's position; the corners
    // with the same normal index and group as an earlier one stand for that one's occurrence.
    auto cornerNormal = [&mesh](std::size_t corner) -> const Vector3& {
        const Face& face = mesh.faces[corner / 4];
        return mesh.normals[static_cast<std::size_t>(face.normalIndices[corner % 4])];
    };
    auto cornerGroup = [&mesh, &boneOf](std::size_t corner) {
        return boneOf[static_cast<std::size_t>(mesh.faces[corner / 4].positionIndices[corner % 4])];
    };
    const std::size_t cornerCount = 4 * mesh.faces.size();
    std::vector<std::int32_t> firstCornerOfNormal(mesh.normals.size(), -1);
    std::vector<std::int32_t> standsFor(cornerCount);
    std::vector<Occurrence> corners;
    for (std::size_t corner = 0; corner < cornerCount; ++corner) {
        const std::int64_t group = cornerGroup(corner);
        std::int32_t& first = firstCornerOfNormal[static_cast<std::size_t>(
            mesh.faces[corner / 4].normalIndices[corner % 4])];
        if (first >= 0 && cornerGroup(static_cast<std::size_t>(first)) == group) {
            standsFor[corner] = first;
            continue;
        }
        if (first < 0) first = static_cast<std::int32_t>(corner);
        standsFor[corner] = static_cast<std::int32_t>(corner);
        corners.push_back(occurrenceOf(group, cornerNormal(corner), standsFor[corner]));
    }
    const MergedValues normals = mergeEqual(std::move(corners), cornerCount);

    if (!mesh.influences.empty()) {
        std::vector<VertexInfluences> merged;
        merged.reserve(positions.firstAt.size());
        for (std::int32_t at : positions.firstAt)
            merged.push_back(mesh.influences[static_cast<std::size_t>(at)]);
        mesh.influences = std::move(merged);
    }
    mesh.positions = mergedList(positions, [&mesh](std::size_t v) { return mesh.positions[v]; });
    mesh.normals = mergedList(normals, cornerNormal);
    for (std::vector<std::int32_t>& moved : mesh.boneVertices) moved.clear();
    for (std::size_t p = 0; p < positions.group.size(); ++p) {
        if (positions.group[p] < static_cast<std::int64_t>(mesh.boneVertices.size()))
            mesh.boneVertices[static_cast<std::size_t>(positions.group[p])].push_back(
                static_cast<std::int32_t>(p));
    }
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        for (std::size_t k = 0; k < 4; ++k) {
            std::int32_t& position = mesh.faces[f].positionIndices[k];
            position = positions.indexOf[static_cast<std::size_t>(position)];
            mesh.faces[f].normalIndices[k] =
                normals.indexOf[static_cast<std::size_t>(standsFor[4 * f + k])];
        }
    }
    mesh.vertexPositions = positions.indexOf;
}

}  // namespace vorel
