// Appending arrays to the buffer, four-byte aligned, with their views and accessors.
#include "gltf/gltf_buffer_writer.h"

#include <algorithm>
#include <cstring>

namespace vorel {

GltfBufferWriter::GltfBufferWriter(tinygltf::Model& model)
    : model_(model), buffer_(static_cast<int>(model.buffers.size())) {
    model_.buffers.emplace_back();
}

int GltfBufferWriter::addFloats(const std::vector<float>& values, int type, int target,
                                bool bounds) {
    const int accessor = addAccessor(values.data(), sizeof(float), values.size(),
                                     TINYGLTF_COMPONENT_TYPE_FLOAT, type, target);
    const auto components = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(type));
    if (bounds && !values.empty()) {
        std::vector<double> low(values.begin(),
                                values.begin() + static_cast<std::ptrdiff_t>(components));
        std::vector<double> high = low;
        for (std::size_t i = components; i < values.size(); ++i) {
            const std::size_t component = i % components;
            low[component] = std::min(low[component], double{values[i]});
            high[component] = std::max(high[component], double{values[i]});
        }
        model_.accessors[static_cast<std::size_t>(accessor)].minValues = low;
        model_.accessors[static_cast<std::size_t>(accessor)].maxValues = high;
    }
    return accessor;
}

int GltfBufferWriter::addUnsignedShorts(const std::vector<std::uint16_t>& values, int type,
                                        int target) {
    return addAccessor(values.data(), sizeof(std::uint16_t), values.size(),
                       TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, type, target);
}

int GltfBufferWriter::addUnsignedInts(const std::vector<std::uint32_t>& values, int type,
                                      int target) {
    return addAccessor(values.data(), sizeof(std::uint32_t), values.size(),
                       TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, type, target);
}

int GltfBufferWriter::addAccessor(const void* data, std::size_t valueBytes, std::size_t valueCount,
                                  int componentType, int type, int target) {
    const std::size_t bytes = valueBytes * valueCount;
    const auto components = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(type));
    std::vector<unsigned char>& buffer = model_.buffers[static_cast<std::size_t>(buffer_)].data;
    // Every view starts on a four-byte boundary, as accessors of four-byte components need.
    buffer.resize((buffer.size() + 3) / 4 * 4, 0);
    tinygltf::BufferView view;
    view.buffer = buffer_;
    view.byteOffset = buffer.size();
    view.byteLength = bytes;
    view.target = target;
    buffer.resize(buffer.size() + bytes);
    if (bytes > 0) std::memcpy(buffer.data() + view.byteOffset, data, bytes);
    model_.bufferViews.push_back(view);

    tinygltf::Accessor accessor;
    accessor.bufferView = static_cast<int>(model_.bufferViews.size()) - 1;
    accessor.componentType = componentType;
    accessor.count = valueCount / components;
    accessor.type = type;
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size()) - 1;
}

}  // namespace vorel
