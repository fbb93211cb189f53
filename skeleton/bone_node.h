// BoneNode: one bone of a model instance's posable tree. It holds only what changes per frame,
// the local matrix; everything fixed stays in the BoneData it mirrors.
#pragma once

#include <memory>

#include "assets/bone_data.h"
#include "math/matrix4.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class BoneNode {
  public:
    // Builds the node and the nodes of the bone's whole subtree and sibling chain, without
    // recursion.
    explicit BoneNode(const BoneData* boneData);
    // Releases the subtree and sibling chain without recursion.
    ~BoneNode();
    BoneNode(const BoneNode&) = delete;
    BoneNode& operator=(const BoneNode&) = delete;

    // local = B * T * R * S * A, with A the bone's rest matrix and B its return matrix: scale
    // and rotation act about the bone's head, in its rest frame. The rotation is used as given
    // (a zero quaternion gives the identity rotation block).
    void setTransform(const BoneTransform& transform);

    // The bone this node mirrors; not owned, lives in the ModelData.
    const BoneData* bone;
    std::unique_ptr<BoneNode> firstChild;
    std::unique_ptr<BoneNode> nextSibling;
    // Current local matrix; identity after construction and after every reset.
    Matrix4 local;

  private:
    struct SingleNode {};
    // The node alone, with null links; the public constructor links the rest of the tree.
    BoneNode(const BoneData* boneData, SingleNode);
};

}  // namespace vorel
