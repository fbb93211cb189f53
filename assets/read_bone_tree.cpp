// The bone tree reader. The file stores a bone, then its first child's whole subtree, then its
// next sibling; a stack of link slots still to fill reproduces that order in linear time with
// no recursion, so a chain as deep as the file allows cannot overflow the stack.
#include "assets/read_bone_tree.h"

#include <memory>
#include <string>
#include <vector>

#include "math/hash_name.h"

namespace vorel {

namespace {

// Two flag bytes, an empty name, three points and a vertex count.
constexpr std::size_t MinimumBoneBytes = 1 + 1 + 1 + 3 * 12 + 4;

bool readVertices(ByteReader& reader, std::int32_t positionCount, BoneData& bone) {
    std::int32_t count = 0;
    if (!reader.readI32(count) || !reader.canHold(count, 4, "vertex")) return false;
    if (count <= 0) return true;
    bone.vertices.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t index = 0;
        if (!reader.readI32(index)) return false;
        if (index < 0 || index >= positionCount) {
            return reader.failLastField("vertex index " + std::to_string(index) +
                                        " is outside [0, " + std::to_string(positionCount) + ")");
        }
        bone.vertices.push_back(index);
    }
    return true;
}

bool readBone(ByteReader& reader, std::int32_t positionCount, BoneData& bone,
              std::uint8_t& hasChild, std::uint8_t& hasSibling) {
    if (!reader.readU8(hasChild) || !reader.readU8(hasSibling) || !reader.readName(bone.name)) {
        return false;
    }
    bone.nameHash = hashName(bone.name);
    if (!reader.readVector3(bone.head) || !reader.readVector3(bone.tail) ||
        !reader.readVector3(bone.up)) {
        return false;
    }
    setRestMatrices(bone);
    return readVertices(reader, positionCount, bone);
}

}  // namespace

void setRestMatrices(BoneData& bone) {
    bone.restMatrix.setPointFrame(bone.head, bone.tail, bone.up);
    bone.returnMatrix = bone.restMatrix.transposedRotation();
    const Vector3 translation =
        transformPoint(bone.returnMatrix, bone.restMatrix.column(3).negated());
    bone.returnMatrix.setColumn(3, translation.x, translation.y, translation.z);
}

bool readBoneTree(ByteReader& reader, std::int32_t positionCount, ModelData& model) {
    std::vector<std::unique_ptr<BoneData>*> slotsToFill{&model.rootBone};
    std::int64_t boneIndex = 0;
    while (!slotsToFill.empty()) {
        std::unique_ptr<BoneData>* slot = slotsToFill.back();
        slotsToFill.pop_back();
        reader.setSection("bone", boneIndex++);
        if (!reader.canHold(1, MinimumBoneBytes, "bone")) return false;
        // Attached before it is read, so a failure releases it with the model.
        *slot = std::make_unique<BoneData>();
        BoneData& bone = **slot;
        std::uint8_t hasChild = 0;
        std::uint8_t hasSibling = 0;
        if (!readBone(reader, positionCount, bone, hasChild, hasSibling)) return false;
        model.boneNames[bone.nameHash] = bone.name;
        // The sibling goes below the child, so the child's whole subtree is read first.
        if (hasSibling != 0) slotsToFill.push_back(&bone.nextSibling);
        if (hasChild != 0) slotsToFill.push_back(&bone.firstChild);
    }
    return true;
}

}  // namespace vorel
