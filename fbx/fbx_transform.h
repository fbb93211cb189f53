// The FBX SDK's transform arithmetic: a model's local matrix from its translation, rotation
// (in one of six Euler orders, between its pre- and post-rotation) and scaling with their
// offsets and pivots, L = T * Roff * Rp * Rpre * R * Rpost^-1 * Rp^-1 * Soff * Sp * S * Sp^-1;
// its geometric transform; and the global matrix a child gets under its inherit type.
#pragma once

#include "convert/affine_transform.h"
#include "fbx/fbx_scene.h"

namespace vorel {

// Angles in degrees, turned in `order` (0 XYZ: X first, then Y, then Z; up to 5 ZYX).
AffineTransform fbxEulerRotation(const Point3d& degrees, int order);

// The local matrix with the given (possibly animated) translation, rotation and scaling.
AffineTransform fbxLocalTransform(const FbxTransformValues& values, const Point3d& translation,
                                  const Point3d& rotation, const Point3d& scaling);
// The local matrix at the file's own values.
AffineTransform fbxRestLocalTransform(const FbxTransformValues& values);

// The geometric transform (geometry only, not inherited): T * R(XYZ) * S.
AffineTransform fbxGeometricTransform(const FbxTransformValues& values);

// The global matrix of a child with local `local` and `inheritType` under a parent whose
// global is `parentGlobal` and whose own local scaling is `parentScaling`. RSrs and RrSs agree
// whenever the parent scales evenly; Rrs leaves the parent's own scaling out.
AffineTransform fbxChildGlobal(const AffineTransform& parentGlobal, const Point3d& parentScaling,
                               int inheritType, const AffineTransform& local);

}  // namespace vorel
