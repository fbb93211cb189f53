// GltfSceneGraph: the node tree of a glTF document checked and flattened: each node's parent,
// which nodes the imported scene holds, and each node's local TRS in the file. A node with two
// parents or a cycle is refused here, so every later walk up a parent chain ends.
#pragma once

#include <tiny_gltf.h>

#include <vector>

#include "assets/load_error.h"
#include "convert/affine_transform.h"

namespace vorel {

struct GltfSceneGraph {
    // Parent node of every node; -1 for a root.
    std::vector<int> parent;
    // The nodes of the imported scene in pre-order (a node, then its children in order).
    std::vector<int> sceneOrder;
    // 1 for every node of the imported scene.
    std::vector<char> inScene;
    // Each node's local transform as the file gives it (a "matrix" is split into TRS).
    std::vector<TrsTransform> restLocal;
    // Nodes whose "matrix" is not a T*R*S (it shears); restLocal holds the nearest one.
    std::vector<int> shearedNodes;
};

// False, with error set, for a child index out of range, a node with two parents, a cycle,
// a scene index out of range, or a transform that is not finite. The imported scene is
// `model.defaultScene`, or scene 0 when none is set; a file without scenes imports every
// root node.
bool buildSceneGraph(const tinygltf::Model& model, GltfSceneGraph& graph, LoadError& error);

// The global transform of every node from the given locals (indexed like the nodes).
std::vector<AffineTransform> globalTransforms(const GltfSceneGraph& graph,
                                              const std::vector<TrsTransform>& locals);

// For every node, its nearest ancestor (not itself) marked in `marked` (indexed like the
// nodes), or -1; in time linear in the node count however deep the tree.
std::vector<int> nearestMarkedAncestors(const GltfSceneGraph& graph,
                                        const std::vector<char>& marked);

// The product of the locals from just below `ancestor` down to `node` (ancestor -1: the
// whole chain from the root), that is ancestor's global inverse times node's global without
// inverting anything.
AffineTransform chainBelow(const GltfSceneGraph& graph, const std::vector<TrsTransform>& locals,
                           int ancestor, int node);

}  // namespace vorel
