// GltfBufferWriter: appends typed arrays to a tinygltf model's one buffer, each in a buffer
// view of its own with one accessor over it. Only for writing; reading goes through the
// range checks of gltf_accessor.h.
#pragma once

#include <tiny_gltf.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorel {

class GltfBufferWriter {
  public:
    // Adds the buffer the arrays go into.
    explicit GltfBufferWriter(tinygltf::Model& model);

    // An accessor of `type` (TINYGLTF_TYPE_VEC3 ...) over the values; `target` is the buffer
    // view's target (0 for none). With `bounds`, the accessor's min and max are filled in.
    int addFloats(const std::vector<float>& values, int type, int target, bool bounds);
    int addUnsignedShorts(const std::vector<std::uint16_t>& values, int type, int target);
    int addUnsignedInts(const std::vector<std::uint32_t>& values, int type, int target);

  private:
    // `valueCount` values of `valueBytes` bytes each, `type`'s component count to an element.
    int addAccessor(const void* data, std::size_t valueBytes, std::size_t valueCount,
                    int componentType, int type, int target);

    tinygltf::Model& model_;
    int buffer_;
};

}  // namespace vorel
