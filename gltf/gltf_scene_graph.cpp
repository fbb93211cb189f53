// Builds the checked node tree of a glTF document.
#include "gltf/gltf_scene_graph.h"

#include <cmath>
#include <string>

#include "gltf/gltf_accessor.h"

namespace vorel {

namespace {

bool allFinite(const std::vector<double>& values) {
    for (double value : values) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

bool readNodeTransform(const tinygltf::Node& node, int index, TrsTransform& local, bool& sheared,
                       LoadError& error) {
    const std::string where = jsonPointer("nodes", index);
    if (!allFinite(node.matrix) || !allFinite(node.translation) || !allFinite(node.rotation) ||
        !allFinite(node.scale)) {
        return fail(error, where, "transform is not finite");
    }
    if (node.matrix.size() == 16) {
        local = decomposeTrs(AffineTransform::fromColumnMajor(node.matrix.data()), sheared);
        return true;
    }
    if (!node.matrix.empty()) return fail(error, where, "matrix does not hold 16 numbers");
    if (node.translation.size() == 3) {
        local.translation = {node.translation[0], node.translation[1], node.translation[2]};
    } else if (!node.translation.empty()) {
        return fail(error, where, "translation does not hold 3 numbers");
    }
    if (node.rotation.size() == 4) {
        local.rotation = normalizedQuaternion(
            {node.rotation[0], node.rotation[1], node.rotation[2], node.rotation[3]});
    } else if (!node.rotation.empty()) {
        return fail(error, where, "rotation does not hold 4 numbers");
    }
    if (node.scale.size() == 3) {
        local.scale = {node.scale[0], node.scale[1], node.scale[2]};
    } else if (!node.scale.empty()) {
        return fail(error, where, "scale does not hold 3 numbers");
    }
    return true;
}

// With at most one parent each, a node reaches a cycle when the walk up from it meets itself.
// Each node is walked once: a walk stops at a node already known to reach a root.
int firstNodeReachingCycle(const std::vector<int>& parent) {
    enum State : char { Unvisited, OnWalk, ReachesRoot };
    std::vector<char> state(parent.size(), Unvisited);
    std::vector<int> walk;
    for (std::size_t start = 0; start < parent.size(); ++start) {
        walk.clear();
        int at = static_cast<int>(start);
        for (; at != -1 && state[static_cast<std::size_t>(at)] == Unvisited;
             at = parent[static_cast<std::size_t>(at)]) {
            state[static_cast<std::size_t>(at)] = OnWalk;
            walk.push_back(at);
        }
        if (at != -1 && state[static_cast<std::size_t>(at)] == OnWalk)
            return static_cast<int>(start);
        for (int node : walk) state[static_cast<std::size_t>(node)] = ReachesRoot;
    }
    return -1;
}

bool linkParents(const tinygltf::Model& model, GltfSceneGraph& graph, LoadError& error) {
    const int nodeCount = static_cast<int>(model.nodes.size());
    for (int index = 0; index < nodeCount; ++index) {
        for (int child : model.nodes[static_cast<std::size_t>(index)].children) {
            const std::string where = jsonPointer("nodes", index) + "/children";
            if (child < 0 || child >= nodeCount)
                return fail(error, where, "child index out of range");
            if (child == index) return fail(error, where, "node is its own child (cycle)");
            if (graph.parent[static_cast<std::size_t>(child)] != -1) {
                return fail(
                    error, where,
                    "node " + std::to_string(child) + " has two parents or is listed twice");
            }
            graph.parent[static_cast<std::size_t>(child)] = index;
        }
    }
    const int onCycle = firstNodeReachingCycle(graph.parent);
    if (onCycle != -1) return fail(error, jsonPointer("nodes", onCycle), "node graph has a cycle");
    return true;
}

std::vector<int> sceneRoots(const tinygltf::Model& model, const GltfSceneGraph& graph,
                            bool& valid) {
    valid = true;
    if (model.scenes.empty()) {
        std::vector<int> roots;
        for (std::size_t i = 0; i < graph.parent.size(); ++i) {
            if (graph.parent[i] == -1) roots.push_back(static_cast<int>(i));
        }
        return roots;
    }
    const int scene = model.defaultScene >= 0 ? model.defaultScene : 0;
    if (static_cast<std::size_t>(scene) >= model.scenes.size()) {
        valid = false;
        return {};
    }
    return model.scenes[static_cast<std::size_t>(scene)].nodes;
}

}  // namespace

bool buildSceneGraph(const tinygltf::Model& model, GltfSceneGraph& graph, LoadError& error) {
    const std::size_t nodeCount = model.nodes.size();
    graph.parent.assign(nodeCount, -1);
    graph.inScene.assign(nodeCount, 0);
    graph.restLocal.assign(nodeCount, TrsTransform{});
    graph.sceneOrder.clear();
    graph.shearedNodes.clear();
    for (std::size_t i = 0; i < nodeCount; ++i) {
        bool sheared = false;
        if (!readNodeTransform(model.nodes[i], static_cast<int>(i), graph.restLocal[i], sheared,
                               error)) {
            return false;
        }
        if (sheared) graph.shearedNodes.push_back(static_cast<int>(i));
    }
    if (!linkParents(model, graph, error)) return false;
    bool valid = true;
    std::vector<int> pending = sceneRoots(model, graph, valid);
    if (!valid) return fail(error, "/scene", "scene index out of range");
    // Depth-first with an explicit stack, children pushed in reverse to keep their order.
    std::vector<int> stack(pending.rbegin(), pending.rend());
    while (!stack.empty()) {
        const int node = stack.back();
        stack.pop_back();
        if (node < 0 || static_cast<std::size_t>(node) >= nodeCount) {
            return fail(error, "/scenes", "node index out of range");
        }
        if (graph.inScene[static_cast<std::size_t>(node)]) {
            return fail(error, jsonPointer("nodes", node), "node is listed twice in the scene");
        }
        graph.inScene[static_cast<std::size_t>(node)] = 1;
        graph.sceneOrder.push_back(node);
        const std::vector<int>& children = model.nodes[static_cast<std::size_t>(node)].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return true;
}

std::vector<AffineTransform> globalTransforms(const GltfSceneGraph& graph,
                                              const std::vector<TrsTransform>& locals) {
    const std::size_t count = graph.parent.size();
    std::vector<AffineTransform> globals(count);
    std::vector<char> done(count, 0);
    std::vector<int> chain;
    for (std::size_t start = 0; start < count; ++start) {
        chain.clear();
        for (int at = static_cast<int>(start); at != -1 && !done[static_cast<std::size_t>(at)];
             at = graph.parent[static_cast<std::size_t>(at)]) {
            chain.push_back(at);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const std::size_t node = static_cast<std::size_t>(*it);
            const AffineTransform local = AffineTransform::fromTrs(locals[node]);
            const int parent = graph.parent[node];
            globals[node] = parent == -1 ? local
                                         : AffineTransform::compose(
                                               local, globals[static_cast<std::size_t>(parent)]);
            done[node] = 1;
        }
    }
    return globals;
}

std::vector<int> nearestMarkedAncestors(const GltfSceneGraph& graph,
                                        const std::vector<char>& marked) {
    const std::size_t count = graph.parent.size();
    std::vector<int> nearest(count, -1);
    std::vector<char> known(count, 0);
    std::vector<int> walk;
    for (std::size_t start = 0; start < count; ++start) {
        walk.clear();
        for (int at = static_cast<int>(start); at != -1 && !known[static_cast<std::size_t>(at)];
             at = graph.parent[static_cast<std::size_t>(at)]) {
            walk.push_back(at);
        }
        // Top down, so that each parent's answer is there before its child's.
        for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
            const std::size_t node = static_cast<std::size_t>(*it);
            const int parent = graph.parent[node];
            nearest[node] = parent == -1 || marked[static_cast<std::size_t>(parent)]
                                ? parent
                                : nearest[static_cast<std::size_t>(parent)];
            known[node] = 1;
        }
    }
    return nearest;
}

AffineTransform chainBelow(const GltfSceneGraph& graph, const std::vector<TrsTransform>& locals,
                           int ancestor, int node) {
    AffineTransform product;
    for (int at = node; at != -1 && at != ancestor;
         at = graph.parent[static_cast<std::size_t>(at)]) {
        product = AffineTransform::compose(
            product, AffineTransform::fromTrs(locals[static_cast<std::size_t>(at)]));
    }
    return product;
}

}  // namespace vorel
