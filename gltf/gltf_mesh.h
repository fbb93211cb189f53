// importMesh: every triangle primitive of every mesh in the imported scene as Vorel positions,
// normals and faces in the rest pose, each skinned vertex weighted over its (at most four
// heaviest) joints, or given to its heaviest joint alone when `rigid` is set. Positions keep
// glTF's vertex order, primitive after primitive, so a posed vertex can be traced back to
// (node, primitive, vertex) through the primitive ranges; the import welds them afterwards
// (convert/weld_mesh.h), and its vertexPositions then say where each vertex went.
#pragma once

#include <tiny_gltf.h>

#include <cstdint>
#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_mesh.h"
#include "gltf/gltf_scene_graph.h"
#include "gltf/gltf_skeleton.h"

namespace vorel {

// False, with error set, for data out of range (accessors, indices, joint indices past the
// skin), missing positions, or values that are not finite. Skipped primitives (points,
// lines) and morph targets are reported in `warnings`.
bool importMesh(const tinygltf::Model& model, const GltfSceneGraph& graph,
                const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh,
                std::vector<std::string>& warnings, LoadError& error);

}  // namespace vorel
