// Bone points from joint frames and bone transforms from joint motion.
#include "convert/joint_frames.h"

#include <cmath>

#include "math/matrix4.h"

namespace vorel {

namespace {

Point3d unitColumn(const AffineTransform& frame, int column) {
    Point3d axis{frame.linear[0][column], frame.linear[1][column], frame.linear[2][column]};
    const double size = length(axis);
    return size > 0.0 ? scaled(axis, 1.0 / size) : Point3d{};
}

Matrix4 restMatrixOf(const BonePoints& points) {
    Matrix4 rest;
    rest.setPointFrame(points.head, points.tail, points.up);
    return rest;
}

}  // namespace

BonePoints bonePointsForJoint(const AffineTransform& restFrame, const Point3d* childOrigin,
                              double boneLength) {
    const Point3d head = restFrame.translation;
    Point3d direction = unitColumn(restFrame, 1);
    if (childOrigin != nullptr) {
        const Point3d toChild = difference(*childOrigin, head);
        const double distance = length(toChild);
        if (distance > boneLength * 1e-3) direction = scaled(toChild, 1.0 / distance);
    }
    if (length(direction) == 0.0) direction = {0.0, 1.0, 0.0};
    // The frame axis least aligned with the bone, made square to it, is the up direction.
    Point3d up;
    double best = 2.0;
    for (int column = 0; column < 3; ++column) {
        const Point3d axis = unitColumn(restFrame, column);
        if (length(axis) == 0.0) continue;
        const double alignment = std::fabs(dot(axis, direction));
        if (alignment < best) {
            best = alignment;
            up = axis;
        }
    }
    up = difference(up, scaled(direction, dot(up, direction)));
    if (length(up) < 1e-9) {
        up = std::fabs(direction.x) < 0.9 ? Point3d{1.0, 0.0, 0.0} : Point3d{0.0, 0.0, 1.0};
        up = difference(up, scaled(direction, dot(up, direction)));
    }
    up = scaled(up, 1.0 / length(up));
    return {toVector3(head), toVector3(sum(head, scaled(direction, boneLength))),
            toVector3(sum(head, scaled(up, boneLength)))};
}

AffineTransform modelToBone(const BonePoints& points) {
    return AffineTransform::fromMatrix4(restMatrixOf(points));
}

AffineTransform boneToModel(const BonePoints& points) {
    // The loader's rigid inverse: transposed rotation, translation -R^T t.
    const Matrix4 rest = restMatrixOf(points);
    Matrix4 back = rest.transposedRotation();
    const Vector3 moved = transformPoint(back, rest.column(3).negated());
    back.setColumn(3, moved.x, moved.y, moved.z);
    return AffineTransform::fromMatrix4(back);
}

TrsTransform boneMotion(const AffineTransform& modelToBoneJoint, const AffineTransform& parentRest,
                        const AffineTransform& relative, const AffineTransform& restInverse,
                        const AffineTransform& boneToModelJoint, bool& sheared) {
    AffineTransform m = AffineTransform::compose(boneToModelJoint, restInverse);
    m = AffineTransform::compose(m, relative);
    m = AffineTransform::compose(m, parentRest);
    m = AffineTransform::compose(m, modelToBoneJoint);
    return decomposeTrs(m, sheared);
}

AffineTransform nodeLocalForBoneMotion(const AffineTransform& parentRestInverse,
                                       const AffineTransform& boneToModelJoint,
                                       const TrsTransform& motion,
                                       const AffineTransform& modelToBoneJoint,
                                       const AffineTransform& restFrame) {
    AffineTransform m = AffineTransform::compose(restFrame, modelToBoneJoint);
    m = AffineTransform::compose(m, AffineTransform::fromTrs(motion));
    m = AffineTransform::compose(m, boneToModelJoint);
    return AffineTransform::compose(m, parentRestInverse);
}

}  // namespace vorel
