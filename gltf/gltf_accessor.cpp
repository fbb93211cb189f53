// Accessor reading with every offset checked against the buffer view and the buffer before
// a byte is touched. Sizes are computed in 64 bits so huge counts cannot wrap.
#include "gltf/gltf_accessor.h"

#include <cmath>
#include <cstring>

#include "gltf/gltf_component_sizes.h"

namespace vorel {

namespace {

// Where each element starts: the checked first byte and stride of an accessor.
struct ElementLayout {
    const unsigned char* first = nullptr;
    std::uint64_t stride = 0;
    std::uint64_t count = 0;
    int componentType = 0;
    int componentBytes = 0;
    bool normalized = false;
};

bool locateElements(const tinygltf::Model& model, int index, int components, ElementLayout& layout,
                    LoadError& error) {
    const std::string where = jsonPointer("accessors", index);
    if (index < 0 || static_cast<std::size_t>(index) >= model.accessors.size()) {
        return fail(error, where, "no such accessor");
    }
    const tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(index)];
    if (accessor.sparse.isSparse) return fail(error, where, "sparse accessors are not supported");
    if (componentsOfType(accessor.type) != components) {
        return fail(error, where,
                    "has " + std::to_string(componentsOfType(accessor.type)) +
                        " components per element, expected " + std::to_string(components));
    }
    layout.componentType = accessor.componentType;
    layout.componentBytes = bytesOfComponent(accessor.componentType);
    layout.normalized = accessor.normalized;
    if (layout.componentBytes == 0) return fail(error, where, "unknown component type");
    if (accessor.count == 0) return true;
    if (accessor.bufferView < 0 ||
        static_cast<std::size_t>(accessor.bufferView) >= model.bufferViews.size()) {
        return fail(error, where, "has no valid buffer view");
    }
    const tinygltf::BufferView& view =
        model.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
    const std::string viewWhere = jsonPointer("bufferViews", accessor.bufferView);
    if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= model.buffers.size()) {
        return fail(error, viewWhere, "has no valid buffer");
    }
    const std::vector<unsigned char>& data =
        model.buffers[static_cast<std::size_t>(view.buffer)].data;
    const std::uint64_t viewStart = view.byteOffset;
    const std::uint64_t viewLength = view.byteLength;
    if (viewStart > data.size() || viewLength > data.size() - viewStart) {
        return fail(error, viewWhere,
                    "bytes " + std::to_string(viewStart) + " + " + std::to_string(viewLength) +
                        " run past the end of its " + std::to_string(data.size()) + "-byte buffer");
    }
    const std::uint64_t elementBytes =
        static_cast<std::uint64_t>(components) * static_cast<std::uint64_t>(layout.componentBytes);
    layout.stride = view.byteStride != 0 ? view.byteStride : elementBytes;
    if (layout.stride < elementBytes) {
        return fail(error, viewWhere,
                    "byte stride " + std::to_string(layout.stride) + " is shorter than an element");
    }
    layout.count = accessor.count;
    const std::uint64_t offset = accessor.byteOffset;
    // The last element must end inside the view; count * stride cannot wrap below 2^64
    // because count is at most 2^64 / stride whenever it passes the first test.
    if (offset > viewLength || layout.count > (viewLength - offset) / layout.stride + 1 ||
        (layout.count - 1) * layout.stride + elementBytes > viewLength - offset) {
        return fail(
            error, where,
            "count " + std::to_string(layout.count) + " runs past the end of its buffer view");
    }
    layout.first = data.data() + viewStart + offset;
    return true;
}

template <typename T>
T readRaw(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

float readComponentAsFloat(const ElementLayout& layout, const unsigned char* at) {
    switch (layout.componentType) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT:
            return readRaw<float>(at);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: {
            const float value = readRaw<std::uint8_t>(at);
            return layout.normalized ? value / 255.0f : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            const float value = readRaw<std::uint16_t>(at);
            return layout.normalized ? value / 65535.0f : value;
        }
        case TINYGLTF_COMPONENT_TYPE_BYTE: {
            const float value = readRaw<std::int8_t>(at);
            return layout.normalized ? std::fmax(value / 127.0f, -1.0f) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_SHORT: {
            const float value = readRaw<std::int16_t>(at);
            return layout.normalized ? std::fmax(value / 32767.0f, -1.0f) : value;
        }
        default:
            return static_cast<float>(readRaw<std::uint32_t>(at));
    }
}

}  // namespace

std::string jsonPointer(const char* array, int index) {
    return std::string("/") + array + "/" + std::to_string(index);
}

std::int64_t accessorCount(const tinygltf::Model& model, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= model.accessors.size()) return -1;
    return static_cast<std::int64_t>(model.accessors[static_cast<std::size_t>(index)].count);
}

bool readFloatAccessor(const tinygltf::Model& model, int index, int components,
                       std::vector<float>& values, LoadError& error) {
    ElementLayout layout;
    if (!locateElements(model, index, components, layout, error)) return false;
    if (layout.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
        return fail(error, jsonPointer("accessors", index),
                    "unsigned int data where floats belong");
    }
    values.resize(layout.count * static_cast<std::uint64_t>(components));
    std::size_t next = 0;
    for (std::uint64_t element = 0; element < layout.count; ++element) {
        const unsigned char* at = layout.first + element * layout.stride;
        for (int c = 0; c < components; ++c) {
            const float value = readComponentAsFloat(layout, at + c * layout.componentBytes);
            if (!std::isfinite(value)) {
                return fail(error, jsonPointer("accessors", index),
                            "element " + std::to_string(element) + " is not a finite number");
            }
            values[next++] = value;
        }
    }
    return true;
}

bool readUnsignedAccessor(const tinygltf::Model& model, int index, int components,
                          std::vector<std::uint32_t>& values, LoadError& error) {
    ElementLayout layout;
    if (!locateElements(model, index, components, layout, error)) return false;
    const int type = layout.componentType;
    if (type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
        type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
        type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
        return fail(error, jsonPointer("accessors", index), "expected unsigned integer data");
    }
    values.resize(layout.count * static_cast<std::uint64_t>(components));
    std::size_t next = 0;
    for (std::uint64_t element = 0; element < layout.count; ++element) {
        const unsigned char* at = layout.first + element * layout.stride;
        for (int c = 0; c < components; ++c) {
            const unsigned char* component = at + c * layout.componentBytes;
            values[next++] = type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE
                                 ? readRaw<std::uint8_t>(component)
                             : type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT
                                 ? readRaw<std::uint16_t>(component)
                                 : readRaw<std::uint32_t>(component);
        }
    }
    return true;
}

}  // namespace vorel
