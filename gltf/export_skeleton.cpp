// Joint nodes from bone rest frames, and bone transforms as joint node locals.
#include "gltf/export_skeleton.h"

#include "skeleton/bone_walk.h"

namespace vorel {

const char* const RootJointName = "Vorel root";

namespace {

// The joint of the parent handed down the walk, and the parent's rest matrix A_parent.
struct ParentJoint {
    int joint = 0;
    AffineTransform modelToParent;
};

void fillInverseBind(const Matrix4& restMatrix, float (&inverseBind)[16]) {
    for (int element = 0; element < 16; ++element)
        inverseBind[element] = restMatrix.element(element);
    inverseBind[3] = inverseBind[7] = inverseBind[11] = 0.0f;
    inverseBind[15] = 1.0f;
}

}  // namespace

std::vector<ExportJoint> exportJoints(const BoneData* rootBone,
                                      const std::vector<const BoneData*>& bones) {
    std::vector<ExportJoint> joints(bones.size() + 1);
    joints[0].name = RootJointName;
    std::vector<PendingBone<const BoneData, ParentJoint>> pending;
    int next = 1;
    walkBones(rootBone, ParentJoint{}, pending,
              [&](const BoneData& bone, const ParentJoint& parent) {
                  ExportJoint& joint = joints[static_cast<std::size_t>(next)];
                  joint.name = bone.name;
                  joint.parent = parent.joint;
                  const AffineTransform bind = AffineTransform::compose(
                      AffineTransform::fromMatrix4(bone.returnMatrix), parent.modelToParent);
                  bool sheared = false;
                  joint.bindLocal = decomposeTrs(bind, sheared);
                  joint.bindLocal.scale = {1.0, 1.0, 1.0};
                  fillInverseBind(bone.restMatrix, joint.inverseBind);
                  return ParentJoint{next++, AffineTransform::fromMatrix4(bone.restMatrix)};
              });
    return joints;
}

TrsTransform nodeLocalFor(const ExportJoint& joint, const BoneTransform& transform) {
    TrsTransform bindRotation;
    bindRotation.rotation = joint.bindLocal.rotation;
    const Point3d turned =
        AffineTransform::fromTrs(bindRotation).transformDirection(toPoint3d(transform.translation));
    const Quaternion4d rotation{transform.rotation.x, transform.rotation.y, transform.rotation.z,
                                transform.rotation.w};
    TrsTransform local;
    local.translation = sum(joint.bindLocal.translation, turned);
    local.rotation = normalizedQuaternion(hamiltonProduct(joint.bindLocal.rotation, rotation));
    local.scale = toPoint3d(transform.scale);
    return local;
}

}  // namespace vorel
