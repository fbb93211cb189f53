// BoneList: a model's bone tree flattened in pre-order with parent indices, the form the
// retargeting works in (the tree itself is first-child / next-sibling links).
#pragma once

#include <string>
#include <vector>

#include "assets/model_data.h"

namespace vorel {

struct BoneList {
    // Not owned: the bones of the model the list was made from, parents first.
    std::vector<const BoneData*> bones;
    // Index of each bone's parent in `bones`; -1 for a root.
    std::vector<int> parents;

    // The first bone of that name, or -1.
    int find(const std::string& name) const;
};

BoneList listBones(const ModelData& model);

}  // namespace vorel
