// Gathers the joints of the scene's skins, orders them into a tree and gives each its rest
// frame, bone points and a unique name.
#include "gltf/gltf_skeleton.h"

#include <algorithm>
#include <cmath>

#include "convert/place_bones.h"
#include "convert/unique_name.h"
#include "gltf/gltf_accessor.h"

namespace vorel {

namespace {

// Skins referenced by the meshes of the scene, in skin order.
std::vector<int> usedSkins(const tinygltf::Model& model, const GltfSceneGraph& graph) {
    std::vector<char> used(model.skins.size(), 0);
    for (int node : graph.sceneOrder) {
        const int skin = model.nodes[static_cast<std::size_t>(node)].skin;
        if (skin >= 0 && static_cast<std::size_t>(skin) < used.size() &&
            model.nodes[static_cast<std::size_t>(node)].mesh >= 0) {
            used[static_cast<std::size_t>(skin)] = 1;
        }
    }
    std::vector<int> skins;
    for (std::size_t i = 0; i < used.size(); ++i) {
        if (used[i]) skins.push_back(static_cast<int>(i));
    }
    return skins;
}

bool readInverseBind(const tinygltf::Model& model, int skinIndex,
                     std::vector<AffineTransform>& matrices, LoadError& error) {
    const tinygltf::Skin& skin = model.skins[static_cast<std::size_t>(skinIndex)];
    matrices.assign(skin.joints.size(), AffineTransform{});
    if (skin.inverseBindMatrices < 0) return true;
    std::vector<float> values;
    if (!readFloatAccessor(model, skin.inverseBindMatrices, 16, values, error)) return false;
    if (values.size() < 16 * skin.joints.size()) {
        return fail(error, jsonPointer("skins", skinIndex),
                    "fewer inverse bind matrices than joints");
    }
    for (std::size_t j = 0; j < skin.joints.size(); ++j) {
        double column[16];
        for (int k = 0; k < 16; ++k) column[k] = values[16 * j + static_cast<std::size_t>(k)];
        matrices[j] = AffineTransform::fromColumnMajor(column);
        AffineTransform check;
        if (!matrices[j].inverted(check)) {
            return fail(error, jsonPointer("skins", skinIndex),
                        "inverse bind matrix " + std::to_string(j) + " is singular");
        }
    }
    return true;
}

// The transform from a skin's bind space into the scene: the skin's root joint (the first
// with no ancestor among the skin's joints) at its place in the file, times its inverse bind.
AffineTransform bindSpaceToScene(const tinygltf::Skin& skin, const GltfSceneGraph& graph,
                                 const std::vector<AffineTransform>& inverseBind,
                                 const std::vector<AffineTransform>& fileGlobals) {
    std::vector<char> inSkin(graph.parent.size(), 0);
    for (int node : skin.joints) inSkin[static_cast<std::size_t>(node)] = 1;
    const std::vector<int> jointAncestor = nearestMarkedAncestors(graph, inSkin);
    for (std::size_t j = 0; j < skin.joints.size(); ++j) {
        if (jointAncestor[static_cast<std::size_t>(skin.joints[j])] == -1) {
            return AffineTransform::compose(inverseBind[j],
                                            fileGlobals[static_cast<std::size_t>(skin.joints[j])]);
        }
    }
    return AffineTransform{};
}

// The joints of every used skin, with the rest frame from the first skin naming each.
// NOTE: inverse bind matrices live in the skin's own bind space, which need not be the
// scene's (an armature scaled by 100 often sits between them), while animation moves joints
// in the scene. Rest frames are put into the scene through the skin's root joint, so the
// rest pose and every animated pose share one space. A skin without inverse bind matrices
// binds every joint at the identity, which would put every bone on one point; its joints
// rest where the file puts their nodes.
bool collectJoints(const tinygltf::Model& model, const GltfSceneGraph& graph,
                   ImportedSkeleton& skeleton, std::vector<char>& isJoint,
                   std::vector<AffineTransform>& rest, LoadError& error) {
    const std::vector<AffineTransform> fileGlobals = globalTransforms(graph, graph.restLocal);
    std::vector<char> hasRest(model.nodes.size(), 0);
    skeleton.inverseBind.assign(model.skins.size(), {});
    for (int skinIndex : usedSkins(model, graph)) {
        const tinygltf::Skin& skin = model.skins[static_cast<std::size_t>(skinIndex)];
        const std::string where = jsonPointer("skins", skinIndex);
        if (skin.joints.empty()) return fail(error, where, "skin has no joints");
        std::vector<char> seen(model.nodes.size(), 0);
        for (int node : skin.joints) {
            if (node < 0 || static_cast<std::size_t>(node) >= model.nodes.size()) {
                return fail(error, where + "/joints", "joint node index out of range");
            }
            if (seen[static_cast<std::size_t>(node)]++) {
                return fail(error, where + "/joints", "joint listed twice");
            }
        }
        std::vector<AffineTransform>& inverseBind =
            skeleton.inverseBind[static_cast<std::size_t>(skinIndex)];
        if (!readInverseBind(model, skinIndex, inverseBind, error)) return false;
        const AffineTransform toScene = bindSpaceToScene(skin, graph, inverseBind, fileGlobals);
        for (std::size_t j = 0; j < skin.joints.size(); ++j) {
            const std::size_t node = static_cast<std::size_t>(skin.joints[j]);
            isJoint[node] = 1;
            if (hasRest[node]) continue;
            hasRest[node] = 1;
            if (skin.inverseBindMatrices < 0) {
                rest[node] = fileGlobals[node];
            } else {
                AffineTransform bind;
                inverseBind[j].inverted(bind);
                rest[node] = AffineTransform::compose(bind, toScene);
            }
        }
    }
    return true;
}

// Pre-order over the joint tree: joints found in node pre-order (the scene's first, then
// joints outside the scene), each followed by its joint descendants.
void orderBones(const tinygltf::Model& model, const GltfSceneGraph& graph,
                const std::vector<char>& isJoint, ImportedSkeleton& skeleton) {
    const std::size_t nodeCount = model.nodes.size();
    std::vector<std::vector<int>> jointChildren(nodeCount);
    std::vector<int> roots;
    std::vector<int> order = graph.sceneOrder;
    for (std::size_t n = 0; n < nodeCount; ++n) {
        if (!graph.inScene[n]) order.push_back(static_cast<int>(n));
    }
    const std::vector<int> jointParent = nearestMarkedAncestors(graph, isJoint);
    for (int node : order) {
        if (!isJoint[static_cast<std::size_t>(node)]) continue;
        const int parent = jointParent[static_cast<std::size_t>(node)];
        (parent == -1 ? roots : jointChildren[static_cast<std::size_t>(parent)]).push_back(node);
    }
    skeleton.boneOfNode.assign(nodeCount, -1);
    std::vector<int> stack(roots.rbegin(), roots.rend());
    while (!stack.empty()) {
        const int node = stack.back();
        stack.pop_back();
        skeleton.boneOfNode[static_cast<std::size_t>(node)] =
            static_cast<int>(skeleton.boneNode.size());
        skeleton.boneNode.push_back(node);
        const std::vector<int>& children = jointChildren[static_cast<std::size_t>(node)];
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    for (int node : skeleton.boneNode) {
        const int parent = jointParent[static_cast<std::size_t>(node)];
        skeleton.boneParent.push_back(
            parent == -1 ? -1 : skeleton.boneOfNode[static_cast<std::size_t>(parent)]);
    }
}

}  // namespace

bool importSkeleton(const tinygltf::Model& model, const GltfSceneGraph& graph,
                    ImportedSkeleton& skeleton, std::vector<std::string>& warnings,
                    LoadError& error) {
    std::vector<char> isJoint(model.nodes.size(), 0);
    std::vector<AffineTransform> rest(model.nodes.size());
    if (!collectJoints(model, graph, skeleton, isJoint, rest, error)) return false;
    orderBones(model, graph, isJoint, skeleton);
    UniqueNames taken(UniqueNames::Hashes::Distinct);
    for (int node : skeleton.boneNode) {
        skeleton.restFrame.push_back(rest[static_cast<std::size_t>(node)]);
        AffineTransform inverse;
        rest[static_cast<std::size_t>(node)].inverted(inverse);
        skeleton.restInverse.push_back(inverse);
        std::string name = model.nodes[static_cast<std::size_t>(node)].name;
        if (name.empty()) name = "joint" + std::to_string(node);
        const std::string original = name;
        if (makeNameUnique(name, taken)) {
            warnings.push_back("joint '" + original + "' (node " + std::to_string(node) +
                               ") renamed '" + name + "': its name or name hash was taken");
        }
        skeleton.names.push_back(name);
    }
    placeBones(skeleton);
    return true;
}

}  // namespace vorel
