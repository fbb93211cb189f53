// Face corners to shared glTF vertices, and each position's joint from the bone lists.
#include "gltf/export_mesh.h"

#include <algorithm>
#include <cmath>

#include "assets/weighted_vertex_check.h"

namespace vorel {

namespace {

constexpr std::int32_t NoVertex = -1;

// Per position, the joint of the last bone that lists it and how many listings it has (capped),
// or the influences that weight it.
struct PositionBinding {
    std::vector<std::uint16_t> joint;
    std::vector<std::uint8_t> listings;
    std::vector<const VertexInfluences*> influences;
};

PositionBinding bindPositions(const ModelData& model, const std::vector<const BoneData*>& bones) {
    PositionBinding binding;
    binding.joint.assign(model.positions.size(), 0);
    binding.listings.assign(model.positions.size(), 0);
    for (std::size_t bone = 0; bone < bones.size(); ++bone) {
        for (const std::int32_t position : bones[bone]->vertices) {
            const auto index = static_cast<std::size_t>(position);
            binding.joint[index] = static_cast<std::uint16_t>(bone + 1);
            binding.listings[index] =
                static_cast<std::uint8_t>(std::min(binding.listings[index] + 1, 2));
        }
    }
    binding.influences.assign(model.positions.size(), nullptr);
    for (const WeightedVertex& weighted : model.weightedVertices) {
        const auto index = static_cast<std::size_t>(weighted.vertex);
        binding.influences[index] = &weighted.influences;
        binding.listings[index] = 1;
    }
    return binding;
}

bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The vertices made so far, chained per position, so that a corner finds its (position,
// normal) pair among the few vertices of its position instead of searching them all.
class VertexTable {
  public:
    explicit VertexTable(std::size_t positionCount) : firstOfPosition(positionCount, NoVertex) {}

    // The vertex made for the pair, or NoVertex.
    std::int32_t find(std::int32_t position, std::int32_t normal) const {
        for (std::int32_t v = firstOfPosition[static_cast<std::size_t>(position)]; v != NoVertex;
             v = nextOfPosition[static_cast<std::size_t>(v)]) {
            if (normalOf[static_cast<std::size_t>(v)] == normal) return v;
        }
        return NoVertex;
    }
    void add(std::int32_t position, std::int32_t normal) {
        const auto vertex = static_cast<std::int32_t>(normalOf.size());
        normalOf.push_back(normal);
        nextOfPosition.push_back(firstOfPosition[static_cast<std::size_t>(position)]);
        firstOfPosition[static_cast<std::size_t>(position)] = vertex;
    }

  private:
    std::vector<std::int32_t> firstOfPosition;
    std::vector<std::int32_t> nextOfPosition;
    std::vector<std::int32_t> normalOf;
};

void appendUnitNormal(const Vector3& normal, ExportMesh& mesh) {
    const double x = normal.x, y = normal.y, z = normal.z;
    const double size = std::sqrt(x * x + y * y + z * z);
    if (!(size > 0.0)) {
        ++mesh.zeroNormals;
        mesh.normals.insert(mesh.normals.end(), {0.0f, 1.0f, 0.0f});
        return;
    }
    mesh.normals.insert(
        mesh.normals.end(),
        {static_cast<float>(x / size), static_cast<float>(y / size), static_cast<float>(z / size)});
}

void appendJoints(const PositionBinding& binding, std::size_t position, ExportMesh& mesh) {
    const VertexInfluences* influences = binding.influences[position];
    for (int k = 0; k < MaxInfluences; ++k) {
        if (influences == nullptr) {
            mesh.joints.push_back(k == 0 ? binding.joint[position] : 0);
            mesh.weights.push_back(k == 0 ? 1.0f : 0.0f);
        } else if (k < influences->count) {
            mesh.joints.push_back(static_cast<std::uint16_t>(influences->influences[k].bone + 1));
            mesh.weights.push_back(influences->influences[k].weight);
        } else {
            mesh.joints.push_back(0);
            mesh.weights.push_back(0.0f);
        }
    }
}

bool appendVertex(const ModelData& model, const PositionBinding& binding, std::int32_t position,
                  std::int32_t normal, ExportMesh& mesh, std::string& problem) {
    const Vector3& p = model.positions[static_cast<std::size_t>(position)];
    const Vector3& n = model.normals[static_cast<std::size_t>(normal)];
    if (!isFinite(p) || !isFinite(n)) {
        problem = (isFinite(p) ? "normal " + std::to_string(normal)
                               : "position " + std::to_string(position)) +
                  " is not a finite number";
        return false;
    }
    mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z});
    appendUnitNormal(n, mesh);
    appendJoints(binding, static_cast<std::size_t>(position), mesh);
    mesh.sourcePositions.push_back(position);
    return true;
}

void appendTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, ExportMesh& mesh) {
    if (a == b || b == c || a == c) return;
    mesh.indices.insert(mesh.indices.end(), {a, b, c});
}

void findBounds(ExportMesh& mesh) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        float low = 0.0f, high = 0.0f;
        for (std::size_t v = axis; v < mesh.positions.size(); v += 3) {
            const float value = mesh.positions[v];
            low = v == axis ? value : std::min(low, value);
            high = v == axis ? value : std::max(high, value);
        }
        mesh.minimum[axis] = low;
        mesh.maximum[axis] = high;
    }
}

void countBindings(const PositionBinding& binding, ExportMesh& mesh) {
    std::vector<bool> counted(binding.joint.size(), false);
    for (const std::int32_t position : mesh.sourcePositions) {
        const auto index = static_cast<std::size_t>(position);
        if (counted[index]) continue;
        counted[index] = true;
        if (binding.listings[index] == 0) ++mesh.unboundVertices;
        if (binding.listings[index] > 1) ++mesh.multiBoneVertices;
    }
}

}  // namespace

bool buildExportMesh(const ModelData& model, const std::vector<const BoneData*>& bones,
                     ExportMesh& mesh, std::string& problem) {
    mesh = ExportMesh{};
    if (bones.size() >= MaxExportJoints) {
        problem = "model has " + std::to_string(bones.size()) +
                  " bones; glTF joints hold at most " + std::to_string(MaxExportJoints - 1) +
                  " besides the root";
        return false;
    }
    const std::string weights = weightedVertexProblem(model);
    if (!weights.empty()) {
        problem = weights;
        return false;
    }
    const PositionBinding binding = bindPositions(model, bones);
    VertexTable table(model.positions.size());
    for (const Face& face : model.faces) {
        std::uint32_t corners[4];
        for (int corner = 0; corner < 4; ++corner) {
            const std::int32_t position = face.positionIndices[corner];
            const std::int32_t normal = face.normalIndices[corner];
            std::int32_t vertex = table.find(position, normal);
            if (vertex == NoVertex) {
                vertex = static_cast<std::int32_t>(mesh.sourcePositions.size());
                if (!appendVertex(model, binding, position, normal, mesh, problem)) return false;
                table.add(position, normal);
            }
            corners[corner] = static_cast<std::uint32_t>(vertex);
        }
        appendTriangle(corners[0], corners[1], corners[2], mesh);
        appendTriangle(corners[0], corners[2], corners[3], mesh);
    }
    findBounds(mesh);
    countBindings(binding, mesh);
    return true;
}

}  // namespace vorel
