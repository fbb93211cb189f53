// Lookups on the node tree.
#include "fbx/fbx_node.h"

namespace vorel {

double FbxProperty::number() const {
    if (kind == Kind::Integer) return static_cast<double>(integer);
    return kind == Kind::Real ? real : 0.0;
}

std::size_t FbxProperty::arrayLength() const {
    if (kind == Kind::IntegerArray) return integers.size();
    return kind == Kind::RealArray ? reals.size() : 0;
}

const FbxNode* FbxNode::child(const std::string& childName) const {
    for (const FbxNode& node : children) {
        if (node.name == childName) return &node;
    }
    return nullptr;
}

FbxNode* FbxNode::child(const std::string& childName) {
    for (FbxNode& node : children) {
        if (node.name == childName) return &node;
    }
    return nullptr;
}

}  // namespace vorel
