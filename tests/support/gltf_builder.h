// GltfBuilder: small glTF 2.0 documents made in memory with tinygltf, for the importer's tests,
// the fuzz seeds and the benchmarks. Every accessor gets a buffer view of its own in one
// buffer; nothing here checks what it is given, so tests can also build lying documents.
#pragma once

#include <tiny_gltf.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorel::test_support {

struct PrimitiveData {
    std::vector<float> positions;
    // Empty: the attribute or the indices are left out.
    std::vector<float> normals;
    std::vector<std::uint32_t> indices;
    // Four joints and four weights per vertex.
    std::vector<std::uint32_t> joints;
    std::vector<float> weights;
    int mode = TINYGLTF_MODE_TRIANGLES;
};

class GltfBuilder {
  public:
    GltfBuilder();

    // A FLOAT accessor of TINYGLTF_TYPE_* `type` holding `values`.
    int addFloats(const std::vector<float>& values, int type);
    // An unsigned accessor, components stored as `componentType` (byte, short or int).
    int addUnsigned(const std::vector<std::uint32_t>& values, int type, int componentType);
    // A node under `parent`, or a root of the scene when parent is -1.
    int addNode(const std::string& name, int parent = -1);
    // A mesh of one primitive, placed on `node`.
    int addMesh(int node, const PrimitiveData& primitive);
    // A skin over the joint nodes with one inverse bind matrix (column-major 16) per joint.
    int addSkin(const std::vector<int>& joints, const std::vector<float>& inverseBind);
    int addAnimation(const std::string& name);
    // A channel moving `path` of `node`; `values` per key as glTF wants them (3 per key for
    // CUBICSPLINE: in-tangent, value, out-tangent).
    void addChannel(int animation, int node, const std::string& path,
                    const std::vector<float>& times, const std::vector<float>& values,
                    const std::string& interpolation = "LINEAR");

    tinygltf::Model& model() { return model_; }
    std::string glb() const;
    // The JSON form, its buffer as a data URI.
    std::string json() const;
    // The JSON form with its buffer in the external file `uri` (which the caller writes from
    // bufferBytes(), or leaves missing).
    std::string jsonWithExternalBuffer(const std::string& uri) const;
    std::string bufferBytes() const;

  private:
    int addBytes(const void* data, std::size_t size);

    tinygltf::Model model_;
};

// The inverse bind matrix of a joint bound at a pure translation (x, y, z).
std::vector<float> translationInverseBind(float x, float y, float z);

// A node "body" holding one triangle skinned over `joints`, each bound at the origin; corner i
// follows joints[corners[i]]. The node's index.
int addTriangleSkinnedAtOrigin(GltfBuilder& builder, const std::vector<int>& joints,
                               std::array<std::uint32_t, 3> corners);

}  // namespace vorel::test_support
