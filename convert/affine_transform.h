// AffineTransform and TrsTransform: double-precision 3-D transforms for converting between
// other formats' node graphs and Vorel's bones. Conversions compose long chains of node
// matrices (often with a scale of 100 on an armature), so they run in double and round to
// float once, when the Vorel records are written. Not for the per-frame path.
#pragma once

#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace vorel {

struct Point3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Unit quaternion, w the scalar part; the same convention as glTF and Vorel's Quaternion.
struct Quaternion4d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 1.0;
};

// Translation, rotation, scale: the matrix T * R * S, scale acting first.
struct TrsTransform {
    Point3d translation;
    Quaternion4d rotation;
    Point3d scale{1.0, 1.0, 1.0};
};

// An affine matrix acting on column vectors: p' = linear * p + translation.
// linear[row][column].
struct AffineTransform {
    double linear[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    Point3d translation;

    // The matrix that applies `first`, then `second`: second * first.
    static AffineTransform compose(const AffineTransform& first, const AffineTransform& second);
    static AffineTransform fromTrs(const TrsTransform& trs);
    // Column-major 16 numbers, as glTF's node "matrix" and inverseBindMatrices hold them;
    // the bottom row is ignored.
    static AffineTransform fromColumnMajor(const double* values);
    static AffineTransform fromMatrix4(const Matrix4& matrix);

    Point3d transformPoint(const Point3d& point) const;
    Point3d transformDirection(const Point3d& direction) const;
    // False when the linear part is singular (or not finite); result untouched then.
    bool inverted(AffineTransform& result) const;
    double determinant() const;
    Matrix4 toMatrix4() const;
};

// Splits an affine transform into T * R * S. Exact for any product of translations,
// rotations and scales along the rotated axes; `sheared` is set when the linear part is not
// of that form (its columns are not orthogonal), in which case the rotation is the nearest
// one found by orthonormalising the columns.
TrsTransform decomposeTrs(const AffineTransform& transform, bool& sheared);

Quaternion4d normalizedQuaternion(const Quaternion4d& q);
// Hamilton product a * b: the rotation that applies b first, then a.
Quaternion4d hamiltonProduct(const Quaternion4d& a, const Quaternion4d& b);
Quaternion4d conjugated(const Quaternion4d& q);
// The rotation of an orthonormal, right-handed matrix.
Quaternion4d quaternionFromRotation(const double rotation[3][3]);
// glTF's spherical interpolation along the shorter arc.
Quaternion4d slerp(const Quaternion4d& a, const Quaternion4d& b, double t);
// The angle, in degrees, of the turn that takes a to b (either sign of either).
double angleBetweenDegrees(const Quaternion4d& a, const Quaternion4d& b);
// The shortest turn taking unit vector `from` onto unit vector `to` (about some axis square
// to both when they are opposite).
Quaternion4d rotationBetween(const Point3d& from, const Point3d& to);
// The rotation of a transform's T * R * S split, normalised.
Quaternion4d rotationOf(const AffineTransform& transform);
// The rotation as a matrix with no translation.
AffineTransform rotationTransform(const Quaternion4d& q);
// v turned by q.
Point3d rotated(const Quaternion4d& q, const Point3d& v);

Point3d toPoint3d(const Vector3& v);
Vector3 toVector3(const Point3d& p);
Point3d difference(const Point3d& a, const Point3d& b);
double length(const Point3d& p);
double dot(const Point3d& a, const Point3d& b);
Point3d cross(const Point3d& a, const Point3d& b);
Point3d scaled(const Point3d& p, double factor);
Point3d sum(const Point3d& a, const Point3d& b);
// p at unit length; a zero vector is returned as it is.
Point3d normalized(const Point3d& p);

// What turns a surface's normals as `transform` turns its points: the inverse transpose of its
// linear part, with no translation (the transform itself when it cannot be inverted).
AffineTransform normalMatrix(const AffineTransform& transform);
// A normal's direction at unit length, as a float; straight up when it has no length or is
// not a number.
Vector3 unitOrUp(const Point3d& direction);

}  // namespace vorel
