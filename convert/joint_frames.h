// The arithmetic between a joint skeleton (glTF, BVH) and Vorel's bones, independent of any
// file format. A joint has a rest frame R (its global transform in the pose the model is
// stored in, possibly scaled); a Vorel bone has head, tail and up points whose rest matrix A
// (model to bone) and its inverse B the loader builds with Matrix4::setPointFrame.
// For a wanted world motion W_j = G_j(t) * R_j^-1 the bone's transform is
//   M_j = A_j * W_parent^-1 * W_j * B_j = A_j * R_p * (G_p^-1 * G_j)(t) * R_j^-1 * B_j.
#pragma once

#include "convert/affine_transform.h"
#include "math/vector3.h"

namespace vorel {

struct BonePoints {
    Vector3 head;
    Vector3 tail;
    Vector3 up;
};

// The bone for a joint whose rest frame is `restFrame`: the head on the frame's origin, the
// tail `boneLength` along the direction to `childOrigin` when there is one at a distance,
// otherwise along the frame's own +Y axis (glTF and most tools lay bones along +Y), and the
// up point on the frame axis most square to the bone, so the bone's roll follows the joint.
BonePoints bonePointsForJoint(const AffineTransform& restFrame, const Point3d* childOrigin,
                              double boneLength);

// A (model space to the bone's rest frame) and B (its rigid inverse) exactly as the model
// loader computes them from the points, widened to double.
AffineTransform modelToBone(const BonePoints& points);
AffineTransform boneToModel(const BonePoints& points);

// M = modelToBone * parentRest * relative * restInverse * boneToModel, split into TRS.
// `relative` is the product of node locals from below the parent joint down to the joint
// (the joint's whole chain for a root). `sheared` is set when M is not a T*R*S (a
// non-uniform scale turned into the bone's frame).
TrsTransform boneMotion(const AffineTransform& modelToBoneJoint, const AffineTransform& parentRest,
                        const AffineTransform& relative, const AffineTransform& restInverse,
                        const AffineTransform& boneToModelJoint, bool& sheared);

// The reverse, for writing joints: the node local (relative to the parent joint) that makes
// a bone with transform `motion` move as Vorel moves it: parentRestInverse * B_j * M * A_j *
// restFrame, where restFrame is the joint's rest global.
AffineTransform nodeLocalForBoneMotion(const AffineTransform& parentRestInverse,
                                       const AffineTransform& boneToModelJoint,
                                       const TrsTransform& motion,
                                       const AffineTransform& modelToBoneJoint,
                                       const AffineTransform& restFrame);

}  // namespace vorel
