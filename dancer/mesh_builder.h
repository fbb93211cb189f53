// MeshBuilder: collects closed surfaces into one quad mesh with smooth outward normals and
// records, for every vertex, the one bone that carries it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "assets/model_data.h"
#include "dancer/surface_grid.h"
#include "math/vector3.h"

namespace vorel {

class MeshBuilder {
  public:
    explicit MeshBuilder(int boneCount) : boneVertices(static_cast<std::size_t>(boneCount)) {}

    // Adds a surface whose every vertex belongs to one bone.
    void addSurface(const SurfaceGrid& grid, int bone);
    // Adds a surface whose vertices are shared out among bones by their bind position.
    void addSurface(const SurfaceGrid& grid, const std::function<int(const Vector3&)>& boneOf);

    std::vector<Vector3> positions;
    // Every face corner has its own normal index, so each normal is listed under exactly one
    // vertex and turned exactly once when the bones move it.
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    // Position indices per bone, in the order the bones are laid out.
    std::vector<std::vector<std::int32_t>> boneVertices;
};

}  // namespace vorel
