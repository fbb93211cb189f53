// Appends accessors, nodes, meshes, skins and animations to a tinygltf model and writes it.
#include "tests/support/gltf_builder.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "gltf/gltf_component_sizes.h"

namespace vorel::test_support {

namespace {

// glTF asks for the bounds of every POSITION accessor; viewers use them for culling.
void setBounds(tinygltf::Accessor& accessor, const std::vector<float>& positions) {
    if (positions.size() < 3) return;
    accessor.minValues.assign(positions.begin(), positions.begin() + 3);
    accessor.maxValues = accessor.minValues;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        accessor.minValues[i % 3] = std::min<double>(accessor.minValues[i % 3], positions[i]);
        accessor.maxValues[i % 3] = std::max<double>(accessor.maxValues[i % 3], positions[i]);
    }
}

std::string write(const tinygltf::Model& model, bool binary) {
    tinygltf::TinyGLTF writer;
    std::ostringstream stream;
    writer.WriteGltfSceneToStream(&model, stream, false, binary);
    return stream.str();
}

}  // namespace

GltfBuilder::GltfBuilder() {
    model_.asset.version = "2.0";
    model_.buffers.emplace_back();
    model_.scenes.emplace_back();
    model_.defaultScene = 0;
}

int GltfBuilder::addBytes(const void* data, std::size_t size) {
    std::vector<unsigned char>& buffer = model_.buffers[0].data;
    // Every view starts on a 4-byte boundary, as glTF asks of float data.
    while (buffer.size() % 4 != 0) buffer.push_back(0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = size;
    const auto* bytes = static_cast<const unsigned char*>(data);
    buffer.insert(buffer.end(), bytes, bytes + size);
    model_.bufferViews.push_back(view);
    return static_cast<int>(model_.bufferViews.size()) - 1;
}

int GltfBuilder::addFloats(const std::vector<float>& values, int type) {
    tinygltf::Accessor accessor;
    accessor.bufferView = addBytes(values.data(), values.size() * sizeof(float));
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.type = type;
    accessor.count = values.size() / static_cast<std::size_t>(componentsOfType(type));
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size()) - 1;
}

int GltfBuilder::addUnsigned(const std::vector<std::uint32_t>& values, int type,
                             int componentType) {
    const int width = bytesOfComponent(componentType);
    std::vector<unsigned char> bytes(values.size() * static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Little-endian, as glTF stores it.
        for (int b = 0; b < width; ++b) {
            bytes[i * static_cast<std::size_t>(width) + static_cast<std::size_t>(b)] =
                static_cast<unsigned char>(values[i] >> (8 * b));
        }
    }
    tinygltf::Accessor accessor;
    accessor.bufferView = addBytes(bytes.data(), bytes.size());
    accessor.componentType = componentType;
    accessor.type = type;
    accessor.count = values.size() / static_cast<std::size_t>(componentsOfType(type));
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size()) - 1;
}

int GltfBuilder::addNode(const std::string& name, int parent) {
    tinygltf::Node node;
    node.name = name;
    model_.nodes.push_back(node);
    const int index = static_cast<int>(model_.nodes.size()) - 1;
    if (parent < 0) {
        model_.scenes[0].nodes.push_back(index);
    } else {
        model_.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
    }
    return index;
}

int GltfBuilder::addMesh(int node, const PrimitiveData& data) {
    tinygltf::Primitive primitive;
    primitive.mode = data.mode;
    primitive.attributes["POSITION"] = addFloats(data.positions, TINYGLTF_TYPE_VEC3);
    setBounds(model_.accessors.back(), data.positions);
    if (!data.normals.empty())
        primitive.attributes["NORMAL"] = addFloats(data.normals, TINYGLTF_TYPE_VEC3);
    if (!data.indices.empty()) {
        const bool wide = *std::max_element(data.indices.begin(), data.indices.end()) > 0xFFFF;
        primitive.indices = addUnsigned(
            data.indices, TINYGLTF_TYPE_SCALAR,
            wide ? TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT : TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
    }
    if (!data.joints.empty()) {
        primitive.attributes["JOINTS_0"] =
            addUnsigned(data.joints, TINYGLTF_TYPE_VEC4, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
        primitive.attributes["WEIGHTS_0"] = addFloats(data.weights, TINYGLTF_TYPE_VEC4);
    }
    tinygltf::Mesh mesh;
    mesh.primitives.push_back(primitive);
    model_.meshes.push_back(mesh);
    const int index = static_cast<int>(model_.meshes.size()) - 1;
    model_.nodes[static_cast<std::size_t>(node)].mesh = index;
    return index;
}

int GltfBuilder::addSkin(const std::vector<int>& joints, const std::vector<float>& inverseBind) {
    tinygltf::Skin skin;
    skin.joints = joints;
    if (!inverseBind.empty()) skin.inverseBindMatrices = addFloats(inverseBind, TINYGLTF_TYPE_MAT4);
    model_.skins.push_back(skin);
    return static_cast<int>(model_.skins.size()) - 1;
}

int GltfBuilder::addAnimation(const std::string& name) {
    tinygltf::Animation animation;
    animation.name = name;
    model_.animations.push_back(animation);
    return static_cast<int>(model_.animations.size()) - 1;
}

void GltfBuilder::addChannel(int animation, int node, const std::string& path,
                             const std::vector<float>& times, const std::vector<float>& values,
                             const std::string& interpolation) {
    tinygltf::Animation& target = model_.animations[static_cast<std::size_t>(animation)];
    tinygltf::AnimationSampler sampler;
    sampler.input = addFloats(times, TINYGLTF_TYPE_SCALAR);
    sampler.output =
        addFloats(values, path == "rotation" ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3);
    sampler.interpolation = interpolation;
    target.samplers.push_back(sampler);
    tinygltf::AnimationChannel channel;
    channel.sampler = static_cast<int>(target.samplers.size()) - 1;
    channel.target_node = node;
    channel.target_path = path;
    target.channels.push_back(channel);
}

std::string GltfBuilder::glb() const {
    return write(model_, true);
}

std::string GltfBuilder::json() const {
    return write(model_, false);
}

std::string GltfBuilder::jsonWithExternalBuffer(const std::string& uri) const {
    nlohmann::json document = nlohmann::json::parse(json());
    document["buffers"][0]["uri"] = uri;
    return document.dump();
}

std::string GltfBuilder::bufferBytes() const {
    return std::string(model_.buffers[0].data.begin(), model_.buffers[0].data.end());
}

std::vector<float> translationInverseBind(float x, float y, float z) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -x, -y, -z, 1};
}

int addTriangleSkinnedAtOrigin(GltfBuilder& builder, const std::vector<int>& joints,
                               std::array<std::uint32_t, 3> corners) {
    std::vector<float> inverseBind;
    const std::vector<float> atOrigin = translationInverseBind(0, 0, 0);
    for (std::size_t j = 0; j < joints.size(); ++j) {
        inverseBind.insert(inverseBind.end(), atOrigin.begin(), atOrigin.end());
    }
    PrimitiveData triangle;
    triangle.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    triangle.joints = {corners[0], 0, 0, 0, corners[1], 0, 0, 0, corners[2], 0, 0, 0};
    triangle.weights = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    const int node = builder.addNode("body");
    builder.addMesh(node, triangle);
    builder.model().nodes[static_cast<std::size_t>(node)].skin =
        builder.addSkin(joints, inverseBind);
    return node;
}

}  // namespace vorel::test_support
