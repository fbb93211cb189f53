// BoneData destruction: the tree is taken apart with an explicit list instead of nested
// destructor calls, so the depth of a chain costs heap, not stack.
#include "assets/bone_data.h"

#include <utility>

namespace vorel {

BoneData::~BoneData() {
    if (!firstChild && !nextSibling) return;
    std::vector<std::unique_ptr<BoneData>> pending;
    if (firstChild) pending.push_back(std::move(firstChild));
    if (nextSibling) pending.push_back(std::move(nextSibling));
    while (!pending.empty()) {
        std::unique_ptr<BoneData> bone = std::move(pending.back());
        pending.pop_back();
        if (bone->firstChild) pending.push_back(std::move(bone->firstChild));
        if (bone->nextSibling) pending.push_back(std::move(bone->nextSibling));
        // bone now has no links, so its own destructor returns at once.
    }
}

}  // namespace vorel
