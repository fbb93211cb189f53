// BoneNode: building and releasing the posable bone tree iteratively, and turning a blended
// BoneTransform into the bone's local matrix.
#include "skeleton/bone_node.h"

#include "math/quaternion.h"
#include "skeleton/affine_product.h"
#include "skeleton/bone_walk.h"

namespace vorel {

namespace {

// Releases a whole first-child / next-sibling tree in constant stack space: a node with a
// first child is rotated so that the child becomes the top and the node its sibling; a node
// without one is freed once its sibling has been taken over. Each node is freed with null links.
void releaseTree(std::unique_ptr<BoneNode> top) {
    while (top) {
        if (top->firstChild) {
            std::unique_ptr<BoneNode> child = std::move(top->firstChild);
            top->firstChild = std::move(child->nextSibling);
            child->nextSibling = std::move(top);
            top = std::move(child);
        } else {
            std::unique_ptr<BoneNode> next = std::move(top->nextSibling);
            top = std::move(next);
        }
    }
}

}  // namespace

BoneNode::BoneNode(const BoneData* boneData, SingleNode) : bone(boneData) {}

BoneNode::BoneNode(const BoneData* boneData) : bone(boneData) {
    PendingBones<BoneNode> pending;
    walkBones(this, pending, [](BoneNode& node) {
        if (node.bone->firstChild) {
            node.firstChild.reset(new BoneNode(node.bone->firstChild.get(), SingleNode{}));
        }
        if (node.bone->nextSibling) {
            node.nextSibling.reset(new BoneNode(node.bone->nextSibling.get(), SingleNode{}));
        }
    });
}

BoneNode::~BoneNode() {
    releaseTree(std::move(firstChild));
    releaseTree(std::move(nextSibling));
}

void BoneNode::setTransform(const BoneTransform& transform) {
    Matrix4 scale;
    scale.columns[0].x = transform.scale.x;
    scale.columns[1].y = transform.scale.y;
    scale.columns[2].z = transform.scale.z;
    // What rotateBy does, with the product written out here instead of called.
    Matrix4 pose = composeAffineInline(scale, transform.rotation.toMatrix4());
    pose.columns[3] = Vector4(transform.translation, 1.0f);
    const Matrix4 inRestFrame = composeAffineInline(bone->restMatrix, pose);
    local = composeAffineInline(inRestFrame, bone->returnMatrix);
}

}  // namespace vorel
