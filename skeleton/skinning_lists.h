// SkinningLists: what each bone of an instance writes in a skinning pass, in walk order,
// resolved once per instance. A position is read from the bind pose by the first bone that
// moves it and from the buffer by every later one; a normal is written only by the last bone
// whose vertices lead to it (each bone sets it from its bind value, so the last one decides);
// whatever no bone reaches is copied from the bind pose. Weighted vertices with two or more
// nonzero weights leave the bones' lists for weighted groups, one per influence count, and
// take with them every normal they lead to (the highest such vertex decides); one whose weight
// sits on a single bone is moved by that bone as if it listed it. So a pass writes every entry
// of both buffers, reads the bind pose once, and never touches an index outside the buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/model_data.h"
#include "skeleton/bone_node.h"
#include "skeleton/weighted_group.h"

namespace vorel {

// The consecutive buffer indices first, first + 1, ..., last - 1.
struct IndexRun {
    std::int32_t first;
    std::int32_t last;
};

// A stretch of a flattened list: the entries one bone owns.
template <typename Entry>
struct ListSpan {
    const Entry* first;
    const Entry* last;
    const Entry* begin() const { return first; }
    const Entry* end() const { return last; }
};

class SkinningLists {
  public:
    // Position indices outside the model's positions, normal indices outside its normals, and
    // weighted vertices whose influences fail their checks (or repeat a vertex) are left out:
    // the walk never reads or writes past a buffer.
    SkinningLists(const ModelData& model, const BoneNode* root);

    // For the bone visited in position `bone` of the pre-order walk: the positions it is the
    // first to move, the positions it moves again (in list order) and the normals it sets.
    ListSpan<IndexRun> firstMoves(std::size_t bone) const;
    ListSpan<std::int32_t> laterMoves(std::size_t bone) const;
    ListSpan<IndexRun> normals(std::size_t bone) const;
    // How many bones the lists hold, in walk order.
    std::size_t boneCount() const { return normalRuns.start.size() - 1; }
    // Entries that keep their bind value.
    const std::vector<IndexRun>& unmovedPositions() const { return positionsKept; }
    const std::vector<IndexRun>& unturnedNormals() const { return normalsKept; }
    // The vertices blended from several bones, one group per influence count that occurs.
    const std::vector<WeightedGroup>& weightedGroups() const { return groups; }

  private:
    // A flattened per-bone list: the entries of bone i run from start[i] to start[i + 1].
    template <typename Entry>
    struct PerBone {
        std::vector<std::size_t> start{0};
        std::vector<Entry> entries;
        ListSpan<Entry> of(std::size_t bone) const {
            return {entries.data() + start[bone], entries.data() + start[bone + 1]};
        }
    };

    PerBone<IndexRun> firstMoveRuns;
    PerBone<std::int32_t> laterMoveIndices;
    PerBone<IndexRun> normalRuns;
    std::vector<IndexRun> positionsKept;
    std::vector<IndexRun> normalsKept;
    std::vector<WeightedGroup> groups;
};

}  // namespace vorel
