// SkinningLists: for each bone of an instance, in walk order, the position indices it moves and
// the distinct normal indices those positions lead to. Resolved once per instance, so that a
// skinning pass turns each normal once and never touches an index outside the buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/model_data.h"
#include "skeleton/bone_node.h"

namespace vorel {

// A run of indices inside SkinningLists.
struct IndexSpan {
    const std::int32_t* first;
    const std::int32_t* last;
    const std::int32_t* begin() const { return first; }
    const std::int32_t* end() const { return last; }
};

class SkinningLists {
  public:
    // Position indices outside the model's positions, and normal indices outside its
    // normals, are left out: the walk never reads or writes past a buffer.
    SkinningLists(const ModelData& model, const BoneNode* root);

    // For the bone visited in position `bone` of the pre-order walk.
    IndexSpan vertices(std::size_t bone) const;
    IndexSpan normals(std::size_t bone) const;

  private:
    // The lists of bone i run from start[i] to start[i + 1].
    std::vector<std::size_t> vertexStart;
    std::vector<std::int32_t> vertexIndices;
    std::vector<std::size_t> normalStart;
    std::vector<std::int32_t> normalIndices;
};

}  // namespace vorel
