// BoneData: one bone of a model's tree (first-child / next-sibling links), with its rest
// frame and the vertices it moves. Destroying a bone releases its whole subtree and sibling
// chain without recursion, so a million-bone chain cannot overflow the stack.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/matrix4.h"
#include "math/vector3.h"

namespace vorel {

class BoneData {
  public:
    BoneData() = default;
    ~BoneData();
    BoneData(const BoneData&) = delete;
    BoneData& operator=(const BoneData&) = delete;

    std::unique_ptr<BoneData> firstChild;
    std::unique_ptr<BoneData> nextSibling;
    Vector3 head;
    Vector3 tail;
    Vector3 up;
    // Takes model space into the bone's rest frame: head to the origin, head-to-tail onto +Z.
    Matrix4 restMatrix;
    // The rigid inverse of restMatrix.
    Matrix4 returnMatrix;
    // Position indices this bone moves, in file order; all checked against the position count.
    std::vector<std::int32_t> vertices;
    std::uint32_t nameHash = 0;
    std::string name;
};

}  // namespace vorel
