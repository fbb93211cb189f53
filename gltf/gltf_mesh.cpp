// Converts the scene's mesh primitives into the rest-pose vertex lists of one Vorel model.
#include "gltf/gltf_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "convert/affine_transform.h"
#include "convert/joint_blend.h"
#include "gltf/gltf_accessor.h"

namespace vorel {

namespace {

// How the vertices of one primitive reach their rest position and their bone.
struct VertexBinding {
    // Attached or static: one transform for all vertices, one bone (-1: none).
    AffineTransform transform;
    int bone = -1;
    // Skinned: per skin joint, the rest transform R_j * IBM_j and the bone.
    const std::vector<AffineTransform>* jointTransforms = nullptr;
    const std::vector<int>* jointBones = nullptr;
    int skin = -1;
};

struct SkinBinding {
    std::vector<AffineTransform> transforms;
    std::vector<int> bones;
};

// Three corners per triangle. Takes the indices by value so that a triangle list, the common
// case, becomes the corners without a second copy of a large index list.
std::vector<std::uint32_t> triangleCorners(int mode, std::vector<std::uint32_t> indices) {
    std::vector<std::uint32_t> corners;
    const std::size_t n = indices.size();
    if (mode == TINYGLTF_MODE_TRIANGLES) {
        indices.resize(n - n % 3);
        return indices;
    } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
        for (std::size_t i = 0; i + 2 < n; ++i) {
            const bool even = i % 2 == 0;
            corners.insert(corners.end(),
                           {indices[even ? i : i + 1], indices[even ? i + 1 : i], indices[i + 2]});
        }
    } else {
        for (std::size_t i = 1; i + 1 < n; ++i) {
            corners.insert(corners.end(), {indices[0], indices[i], indices[i + 1]});
        }
    }
    return corners;
}

// Room for `extra` more elements: exactly for the first (often the only, large) primitive,
// at least half as much again as held for later ones, so that many small primitives still
// grow the lists geometrically and a large one never holds two copies while growing.
template <typename T>
void reserveMore(std::vector<T>& list, std::size_t extra) {
    const std::size_t needed = list.size() + extra;
    if (needed > list.capacity())
        list.reserve(std::max(needed, list.capacity() + list.capacity() / 2));
}

int findAttribute(const tinygltf::Primitive& primitive, const char* name) {
    const auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

// What a primitive's JOINTS_n/WEIGHTS_n sets say about each vertex.
struct SkinWeights {
    // The joint a rigid import gives each vertex: its greatest weight over every set, ties to
    // the lower joint index, and that weight.
    std::vector<std::uint32_t> heaviest;
    std::vector<float> best;
    // Unless rigid: per vertex, its positive weights summed joint by joint, the four heaviest
    // kept (ties to the lower joint) and normalised; bones here are the skin's joint indices.
    std::vector<VertexInfluences> influences;
    // Vertices with more than four joints, which lost the lightest.
    std::int64_t trimmed = 0;
};

// The (joint, weight) pairs of every set, four per vertex per set.
struct WeightSets {
    std::vector<std::vector<std::uint32_t>> joints;
    std::vector<std::vector<float>> weights;
};

bool readWeightSets(const tinygltf::Model& model, const tinygltf::Primitive& primitive,
                    std::size_t vertexCount, std::size_t skinJointCount, WeightSets& sets,
                    LoadError& error) {
    for (int set = 0;; ++set) {
        const int jointAccessor =
            findAttribute(primitive, ("JOINTS_" + std::to_string(set)).c_str());
        const int weightAccessor =
            findAttribute(primitive, ("WEIGHTS_" + std::to_string(set)).c_str());
        if (jointAccessor < 0 && weightAccessor < 0) return true;
        std::vector<std::uint32_t> setJoints;
        std::vector<float> setWeights;
        if (!readUnsignedAccessor(model, jointAccessor, 4, setJoints, error) ||
            !readFloatAccessor(model, weightAccessor, 4, setWeights, error)) {
            return false;
        }
        if (setJoints.size() != 4 * vertexCount || setWeights.size() != 4 * vertexCount) {
            return fail(error, jsonPointer("accessors", jointAccessor),
                        "joint or weight count differs from the vertex count");
        }
        for (std::size_t v = 0; v < vertexCount; ++v) {
            for (std::size_t k = 0; k < 4; ++k) {
                const std::uint32_t joint = setJoints[4 * v + k];
                if (setWeights[4 * v + k] > 0.0f && joint >= skinJointCount) {
                    return fail(error, jsonPointer("accessors", jointAccessor),
                                "vertex " + std::to_string(v) + " uses joint " +
                                    std::to_string(joint) + " past the skin's " +
                                    std::to_string(skinJointCount) + " joints");
                }
            }
        }
        sets.joints.push_back(std::move(setJoints));
        sets.weights.push_back(std::move(setWeights));
    }
}

// The vertex's (joint, weight) pairs over every set, in set order.
void jointWeights(const WeightSets& sets, std::size_t v, std::vector<Influence>& pairs) {
    pairs.clear();
    for (std::size_t set = 0; set < sets.joints.size(); ++set) {
        for (std::size_t k = 0; k < 4; ++k) {
            pairs.push_back({static_cast<std::int32_t>(sets.joints[set][4 * v + k]),
                             sets.weights[set][4 * v + k]});
        }
    }
}

bool readSkinWeights(const tinygltf::Model& model, const tinygltf::Primitive& primitive,
                     std::size_t vertexCount, std::size_t skinJointCount, bool rigid,
                     SkinWeights& result, std::int64_t& weakCount, LoadError& error) {
    WeightSets sets;
    if (!readWeightSets(model, primitive, vertexCount, skinJointCount, sets, error)) return false;
    result.best.assign(vertexCount, -1.0f);
    result.heaviest.assign(vertexCount, 0);
    for (std::size_t set = 0; set < sets.joints.size(); ++set) {
        for (std::size_t v = 0; v < vertexCount; ++v) {
            for (std::size_t k = 0; k < 4; ++k) {
                const std::uint32_t joint = sets.joints[set][4 * v + k];
                const float weight = sets.weights[set][4 * v + k];
                if (joint >= skinJointCount) continue;
                if (weight > result.best[v] ||
                    (weight == result.best[v] && joint < result.heaviest[v])) {
                    result.best[v] = weight;
                    result.heaviest[v] = joint;
                }
            }
        }
    }
    for (float weight : result.best) {
        if (weight < 0.5f) ++weakCount;
    }
    if (rigid) return true;
    result.influences.assign(vertexCount, VertexInfluences{});
    std::vector<Influence> pairs;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        jointWeights(sets, v, pairs);
        if (keepHeaviestInfluences(pairs, result.influences[v])) ++result.trimmed;
    }
    return true;
}

class MeshBuilder {
  public:
    MeshBuilder(const tinygltf::Model& model, const GltfSceneGraph& graph,
                const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh,
                std::vector<std::string>& warnings, LoadError& error)
        : model_(model),
          graph_(graph),
          skeleton_(skeleton),
          rigid_(rigid),
          mesh_(mesh),
          warnings_(warnings),
          error_(error),
          restGlobals_(globalTransforms(graph, graph.restLocal)),
          skins_(model.skins.size()) {
        mesh_.boneVertices.assign(std::max<std::size_t>(skeleton.boneNode.size(), 1), {});
        for (std::size_t s = 0; s < model.skins.size(); ++s) prepareSkin(static_cast<int>(s));
    }

    bool addNode(int node) {
        const tinygltf::Node& gltfNode = model_.nodes[static_cast<std::size_t>(node)];
        if (gltfNode.mesh < 0) return true;
        if (static_cast<std::size_t>(gltfNode.mesh) >= model_.meshes.size()) {
            return fail(error_, jsonPointer("nodes", node), "mesh index out of range");
        }
        const tinygltf::Mesh& gltfMesh = model_.meshes[static_cast<std::size_t>(gltfNode.mesh)];
        for (std::size_t p = 0; p < gltfMesh.primitives.size(); ++p) {
            if (!addPrimitive(node, gltfNode, gltfMesh.primitives[p], static_cast<int>(p)))
                return false;
        }
        return true;
    }

  private:
    void prepareSkin(int skinIndex) {
        const tinygltf::Skin& skin = model_.skins[static_cast<std::size_t>(skinIndex)];
        const std::vector<AffineTransform>& inverseBind =
            skeleton_.inverseBind[static_cast<std::size_t>(skinIndex)];
        if (inverseBind.size() != skin.joints.size()) return;  // not used by the scene
        SkinBinding& binding = skins_[static_cast<std::size_t>(skinIndex)];
        for (std::size_t j = 0; j < skin.joints.size(); ++j) {
            const int bone = skeleton_.boneOfNode[static_cast<std::size_t>(skin.joints[j])];
            binding.bones.push_back(bone);
            binding.transforms.push_back(AffineTransform::compose(
                inverseBind[j], skeleton_.restFrame[static_cast<std::size_t>(bone)]));
        }
    }

    // The nearest joint at or above the node, or -1.
    int jointAtOrAbove(int node) const {
        for (int at = node; at != -1; at = graph_.parent[static_cast<std::size_t>(at)]) {
            if (!skeleton_.boneOfNode.empty() &&
                skeleton_.boneOfNode[static_cast<std::size_t>(at)] >= 0)
                return at;
        }
        return -1;
    }

    VertexBinding bindingFor(int node, const tinygltf::Node& gltfNode,
                             const tinygltf::Primitive& primitive, std::string& kind) const {
        VertexBinding binding;
        const int skin = gltfNode.skin;
        if (skin >= 0 && static_cast<std::size_t>(skin) < skins_.size() &&
            !skins_[static_cast<std::size_t>(skin)].bones.empty() &&
            findAttribute(primitive, "JOINTS_0") >= 0) {
            binding.skin = skin;
            binding.jointTransforms = &skins_[static_cast<std::size_t>(skin)].transforms;
            binding.jointBones = &skins_[static_cast<std::size_t>(skin)].bones;
            kind = "skinned";
            return binding;
        }
        const int joint = jointAtOrAbove(node);
        if (joint >= 0) {
            const int bone = skeleton_.boneOfNode[static_cast<std::size_t>(joint)];
            binding.bone = bone;
            binding.transform =
                AffineTransform::compose(chainBelow(graph_, graph_.restLocal, joint, node),
                                         skeleton_.restFrame[static_cast<std::size_t>(bone)]);
            kind = "attached";
        } else {
            binding.transform = restGlobals_[static_cast<std::size_t>(node)];
            kind = "static";
        }
        return binding;
    }

    bool addPrimitive(int node, const tinygltf::Node& gltfNode,
                      const tinygltf::Primitive& primitive, int primitiveIndex) {
        const std::string where =
            jsonPointer("meshes", gltfNode.mesh) + "/primitives/" + std::to_string(primitiveIndex);
        if (primitive.mode != TINYGLTF_MODE_TRIANGLES &&
            primitive.mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
            primitive.mode != TINYGLTF_MODE_TRIANGLE_FAN) {
            warnings_.push_back(where + ": points or lines (mode " +
                                std::to_string(primitive.mode) + ") skipped");
            return true;
        }
        if (!primitive.targets.empty() && !warnedTargets_) {
            warnings_.push_back(where + ": morph targets ignored");
            warnedTargets_ = true;
        }
        std::vector<float> positions;
        const int positionAccessor = findAttribute(primitive, "POSITION");
        if (positionAccessor < 0) return fail(error_, where, "primitive has no POSITION");
        if (!readFloatAccessor(model_, positionAccessor, 3, positions, error_)) return false;
        const std::size_t vertexCount = positions.size() / 3;
        std::vector<float> normals;
        const int normalAccessor = findAttribute(primitive, "NORMAL");
        if (normalAccessor >= 0) {
            if (!readFloatAccessor(model_, normalAccessor, 3, normals, error_)) return false;
            if (normals.size() != positions.size())
                return fail(error_, where, "NORMAL count differs from POSITION count");
        }
        std::vector<std::uint32_t> indices;
        if (primitive.indices >= 0) {
            if (!readUnsignedAccessor(model_, primitive.indices, 1, indices, error_)) return false;
            for (std::size_t i = 0; i < indices.size(); ++i) {
                if (indices[i] >= vertexCount) {
                    return fail(error_, jsonPointer("accessors", primitive.indices),
                                "index " + std::to_string(i) + " is " + std::to_string(indices[i]) +
                                    ", past the " + std::to_string(vertexCount) + " vertices");
                }
            }
        } else {
            indices.resize(vertexCount);
            for (std::size_t v = 0; v < vertexCount; ++v)
                indices[v] = static_cast<std::uint32_t>(v);
        }
        std::string kind;
        const VertexBinding binding = bindingFor(node, gltfNode, primitive, kind);
        SkinWeights skin;
        if (binding.skin >= 0) {
            if (!readSkinWeights(model_, primitive, vertexCount, binding.jointBones->size(), rigid_,
                                 skin, mesh_.weakVertexCount, error_)) {
                return false;
            }
            mesh_.skinnedVertexCount += static_cast<std::int64_t>(vertexCount);
            mesh_.trimmedVertexCount += skin.trimmed;
        } else {
            skin.best.assign(vertexCount, 1.0f);
        }
        const std::size_t first = mesh_.positions.size();
        if (first + vertexCount > static_cast<std::size_t>(INT32_MAX))
            return fail(error_, where, "too many vertices");
        mesh_.ranges.push_back({node, primitiveIndex, static_cast<std::int64_t>(first),
                                static_cast<std::int64_t>(vertexCount), kind});
        mesh_.followedWeights.insert(mesh_.followedWeights.end(), skin.best.begin(),
                                     skin.best.end());
        std::vector<Vector3> restNormals(vertexCount);
        for (std::size_t v = 0; v < vertexCount; ++v) {
            const VertexInfluences blend = blendedInfluences(binding, skin, v);
            AffineTransform transform = binding.transform;
            int bone = binding.bone;
            if (blend.count > 0) {
                transform = blendedTransform(blend, *binding.jointTransforms);
            } else if (binding.skin >= 0) {
                const std::size_t joint =
                    skin.influences.empty() || skin.influences[v].count == 0
                        ? skin.heaviest[v]
                        : static_cast<std::size_t>(skin.influences[v].influences[0].bone);
                transform = (*binding.jointTransforms)[joint];
                bone = (*binding.jointBones)[joint];
            }
            const Point3d point{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
            mesh_.positions.push_back(toVector3(transform.transformPoint(point)));
            if (!normals.empty()) {
                const Point3d normal{normals[3 * v], normals[3 * v + 1], normals[3 * v + 2]};
                restNormals[v] = unitOrUp(normalMatrix(transform).transformDirection(normal));
            }
            keepBinding(first + v, bone, blend, binding);
        }
        const bool fileNormals = !normals.empty();
        // The file's attributes are no longer needed: let them go before the faces grow.
        positions = {};
        normals = {};
        skin = {};
        addFaces(triangleCorners(primitive.mode, std::move(indices)), first,
                 fileNormals ? &restNormals : nullptr);
        return true;
    }

    // The vertex's influences with its joints turned into bones, when it has two or more.
    static VertexInfluences blendedInfluences(const VertexBinding& binding, const SkinWeights& skin,
                                              std::size_t v) {
        if (binding.skin < 0 || skin.influences.empty() || skin.influences[v].count < 2) return {};
        return skin.influences[v];
    }

    // Lists a rigid vertex under its bone, or records a weighted one's bones and weights.
    void keepBinding(std::size_t vertex, int bone, const VertexInfluences& jointInfluences,
                     const VertexBinding& binding) {
        if (jointInfluences.count == 0) {
            if (bone >= 0)
                mesh_.boneVertices[static_cast<std::size_t>(bone)].push_back(
                    static_cast<std::int32_t>(vertex));
            return;
        }
        if (mesh_.influences.size() <= vertex) mesh_.influences.resize(vertex + 1);
        VertexInfluences& kept = mesh_.influences[vertex];
        kept = jointInfluences;
        for (int k = 0; k < kept.count; ++k) {
            Influence& influence = kept.influences[k];
            influence.bone = (*binding.jointBones)[static_cast<std::size_t>(influence.bone)];
        }
        ++mesh_.blendedVertexCount;
    }

    // One face per triangle, its last corner repeated; one normal per vertex, beside its
    // position, which welding merges with the equal ones of its bone afterwards.
    void addFaces(const std::vector<std::uint32_t>& corners, std::size_t first,
                  const std::vector<Vector3>* fileNormals) {
        const std::vector<Vector3> normals =
            fileNormals == nullptr ? smoothNormals(corners, first) : *fileNormals;
        const std::size_t normalBase = mesh_.normals.size();
        mesh_.normals.insert(mesh_.normals.end(), normals.begin(), normals.end());
        reserveMore(mesh_.faces, corners.size() / 3);
        for (std::size_t t = 0; t + 2 < corners.size(); t += 3) {
            Face face;
            for (int k = 0; k < 4; ++k) {
                const std::uint32_t vertex = corners[t + static_cast<std::size_t>(k < 3 ? k : 2)];
                face.positionIndices[k] = static_cast<std::int32_t>(first + vertex);
                face.normalIndices[k] = static_cast<std::int32_t>(normalBase + vertex);
            }
            mesh_.faces.push_back(face);
        }
    }

    // Face normals summed over every vertex that shares a rest position, then normalised.
    std::vector<Vector3> smoothNormals(const std::vector<std::uint32_t>& corners,
                                       std::size_t first) {
        struct KeyHash {
            std::size_t operator()(const std::array<std::uint32_t, 3>& key) const {
                return (key[0] * 73856093u) ^ (key[1] * 19349663u) ^ (key[2] * 83492791u);
            }
        };
        auto keyOf = [this, first](std::uint32_t vertex) {
            const Vector3& p = mesh_.positions[first + vertex];
            std::array<std::uint32_t, 3> key{};
            std::memcpy(key.data(), &p.x, 4);
            std::memcpy(key.data() + 1, &p.y, 4);
            std::memcpy(key.data() + 2, &p.z, 4);
            return key;
        };
        std::unordered_map<std::array<std::uint32_t, 3>, Point3d, KeyHash> sums;
        for (std::size_t t = 0; t + 2 < corners.size(); t += 3) {
            const Point3d a = toPoint3d(mesh_.positions[first + corners[t]]);
            const Point3d b = toPoint3d(mesh_.positions[first + corners[t + 1]]);
            const Point3d c = toPoint3d(mesh_.positions[first + corners[t + 2]]);
            const Point3d faceNormal = cross(difference(b, a), difference(c, a));
            for (std::size_t k = 0; k < 3; ++k) {
                Point3d& total = sums[keyOf(corners[t + k])];
                total = sum(total, faceNormal);
            }
        }
        std::vector<Vector3> result(mesh_.positions.size() - first, Vector3(0.0f, 1.0f, 0.0f));
        for (std::size_t v = 0; v < result.size(); ++v) {
            const auto found = sums.find(keyOf(static_cast<std::uint32_t>(v)));
            if (found != sums.end()) result[v] = unitOrUp(found->second);
        }
        return result;
    }

    const tinygltf::Model& model_;
    const GltfSceneGraph& graph_;
    const ImportedSkeleton& skeleton_;
    const bool rigid_;
    ImportedMesh& mesh_;
    std::vector<std::string>& warnings_;
    LoadError& error_;
    std::vector<AffineTransform> restGlobals_;
    std::vector<SkinBinding> skins_;
    bool warnedTargets_ = false;
};

}  // namespace

bool importMesh(const tinygltf::Model& model, const GltfSceneGraph& graph,
                const ImportedSkeleton& skeleton, bool rigid, ImportedMesh& mesh,
                std::vector<std::string>& warnings, LoadError& error) {
    MeshBuilder builder(model, graph, skeleton, rigid, mesh, warnings, error);
    for (int node : graph.sceneOrder) {
        if (!builder.addNode(node)) return false;
    }
    if (!mesh.influences.empty()) mesh.influences.resize(mesh.positions.size());
    warnTrimmedVertices(mesh.trimmedVertexCount, warnings);
    if (mesh.faces.empty()) {
        return fail(error, "/meshes", "the scene has no triangle mesh");
    }
    return true;
}

}  // namespace vorel
