// Turns surface grids into quads. Normals are the normalised sum of the faces around each
// vertex; a surface found to face inwards has its winding and normals flipped.
#include "dancer/mesh_builder.h"

#include <array>
#include <cmath>

namespace vorel {

namespace {

Vector3 minus(const Vector3& a, const Vector3& b) {
    return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

void accumulate(Vector3& sum, const Vector3& v) {
    sum.x += v.x;
    sum.y += v.y;
    sum.z += v.z;
}

// The quads of a grid as four vertex numbers each, counted rows * columns, then the first
// pole, then the last pole.
std::vector<std::array<int, 4>> gridQuads(const SurfaceGrid& grid) {
    const int firstPole = grid.rows * grid.columns;
    const int lastPole = firstPole + 1;
    auto vertex = [&](int row, int column) {
        if (!grid.wrapsRows && row < 0) return firstPole;
        if (!grid.wrapsRows && row >= grid.rows) return lastPole;
        return ((row + grid.rows) % grid.rows) * grid.columns + column % grid.columns;
    };
    const int firstRow = grid.wrapsRows ? 0 : -1;
    const int lastRow = grid.rows - 1;
    std::vector<std::array<int, 4>> quads;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            quads.push_back({vertex(row, column), vertex(row, column + 1),
                             vertex(row + 1, column + 1), vertex(row + 1, column)});
        }
    }
    return quads;
}

std::vector<Vector3> gridVertices(const SurfaceGrid& grid) {
    std::vector<Vector3> vertices = grid.points;
    if (!grid.wrapsRows) {
        vertices.push_back(grid.firstPole);
        vertices.push_back(grid.lastPole);
    }
    return vertices;
}

std::vector<Vector3> smoothNormals(const std::vector<Vector3>& vertices,
                                   const std::vector<std::array<int, 4>>& quads) {
    std::vector<Vector3> sums(vertices.size());
    for (const auto& q : quads) {
        const Vector3 faceNormal = Vector3::cross(minus(vertices[q[2]], vertices[q[0]]),
                                                  minus(vertices[q[3]], vertices[q[1]]));
        for (int corner : q) accumulate(sums[corner], faceNormal);
    }
    for (Vector3& n : sums) n.normalize();
    return sums;
}

// Whether the normals point away from the surface's centre on the whole.
bool facesOutward(const std::vector<Vector3>& vertices, const std::vector<Vector3>& normals) {
    Vector3 centre;
    for (const Vector3& v : vertices) accumulate(centre, v);
    const float share = 1.0f / static_cast<float>(vertices.size());
    centre = Vector3(centre.x * share, centre.y * share, centre.z * share);
    double outwardness = 0.0;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        outwardness += Vector3::dot(normals[i], minus(vertices[i], centre));
    }
    return outwardness > 0.0;
}

}  // namespace

void MeshBuilder::addSurface(const SurfaceGrid& grid, int bone) {
    addSurface(grid, [bone](const Vector3&) { return bone; });
}

void MeshBuilder::addSurface(const SurfaceGrid& grid,
                             const std::function<int(const Vector3&)>& boneOf) {
    const std::vector<Vector3> vertices = gridVertices(grid);
    std::vector<std::array<int, 4>> quads = gridQuads(grid);
    std::vector<Vector3> vertexNormals = smoothNormals(vertices, quads);
    if (!facesOutward(vertices, vertexNormals)) {
        for (auto& q : quads) std::swap(q[1], q[3]);
        for (Vector3& n : vertexNormals) n = n.negated();
    }

    const auto base = static_cast<std::int32_t>(positions.size());
    for (const Vector3& v : vertices) {
        boneVertices[static_cast<std::size_t>(boneOf(v))].push_back(
            base + static_cast<std::int32_t>(&v - vertices.data()));
        positions.push_back(v);
    }
    for (const auto& q : quads) {
        Face face;
        for (int k = 0; k < 4; ++k) {
            face.positionIndices[k] = base + q[k];
            face.normalIndices[k] = static_cast<std::int32_t>(normals.size());
            normals.push_back(vertexNormals[q[k]]);
        }
        faces.push_back(face);
    }
}

}  // namespace vorel
