// Matrix products in the SDK's order.
#include "fbx/fbx_transform.h"

#include <cmath>

namespace vorel {

namespace {

constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;

AffineTransform axisRotation(int axis, double degrees) {
    const double c = std::cos(degrees * DegreesToRadians);
    const double s = std::sin(degrees * DegreesToRadians);
    const int a = (axis + 1) % 3;
    const int b = (axis + 2) % 3;
    AffineTransform r;
    r.linear[a][a] = c;
    r.linear[a][b] = -s;
    r.linear[b][a] = s;
    r.linear[b][b] = c;
    return r;
}

AffineTransform translation(const Point3d& t) {
    AffineTransform m;
    m.translation = t;
    return m;
}

AffineTransform scaling(const Point3d& s) {
    AffineTransform m;
    m.linear[0][0] = s.x;
    m.linear[1][1] = s.y;
    m.linear[2][2] = s.z;
    return m;
}

bool isZero(const Point3d& p) {
    return p.x == 0.0 && p.y == 0.0 && p.z == 0.0;
}

// The product of the matrices left to right (the last acts first).
AffineTransform product(std::initializer_list<AffineTransform> matrices) {
    AffineTransform result;
    for (const AffineTransform& m : matrices) result = AffineTransform::compose(m, result);
    return result;
}

AffineTransform inverseRotation(const AffineTransform& rotation) {
    AffineTransform result;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) result.linear[r][c] = rotation.linear[c][r];
    }
    return result;
}

}  // namespace

AffineTransform fbxEulerRotation(const Point3d& degrees, int order) {
    // The axes in the order they turn, for XYZ, XZY, YZX, YXZ, ZXY, ZYX.
    static const int Orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0},
                                     {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};
    const int* axes = Orders[order >= 0 && order < 6 ? order : 0];
    const double angles[3] = {degrees.x, degrees.y, degrees.z};
    AffineTransform result;
    for (int i = 0; i < 3; ++i)
        result = AffineTransform::compose(result, axisRotation(axes[i], angles[axes[i]]));
    return result;
}

AffineTransform fbxLocalTransform(const FbxTransformValues& v, const Point3d& t, const Point3d& r,
                                  const Point3d& s) {
    // Left to right, each factor skipped when it is the identity (most files set few).
    AffineTransform result = translation(sum(sum(t, v.rotationOffset), v.rotationPivot));
    auto then = [&result](const AffineTransform& factor) {
        result = AffineTransform::compose(factor, result);
    };
    if (!isZero(v.preRotation)) then(fbxEulerRotation(v.preRotation, 0));
    if (!isZero(r)) then(fbxEulerRotation(r, v.rotationOrder));
    if (!isZero(v.postRotation)) then(inverseRotation(fbxEulerRotation(v.postRotation, 0)));
    const Point3d between =
        sum(sum(scaled(v.rotationPivot, -1.0), v.scalingOffset), v.scalingPivot);
    if (!isZero(between)) then(translation(between));
    if (s.x != 1.0 || s.y != 1.0 || s.z != 1.0) then(scaling(s));
    if (!isZero(v.scalingPivot)) then(translation(scaled(v.scalingPivot, -1.0)));
    return result;
}

AffineTransform fbxRestLocalTransform(const FbxTransformValues& values) {
    return fbxLocalTransform(values, values.translation, values.rotation, values.scaling);
}

AffineTransform fbxGeometricTransform(const FbxTransformValues& v) {
    return product({translation(v.geometricTranslation), fbxEulerRotation(v.geometricRotation, 0),
                    scaling(v.geometricScaling)});
}

AffineTransform fbxChildGlobal(const AffineTransform& parentGlobal, const Point3d& parentScaling,
                               int inheritType, const AffineTransform& local) {
    if (inheritType != 2) return AffineTransform::compose(local, parentGlobal);
    const Point3d undo{1.0 / parentScaling.x, 1.0 / parentScaling.y, 1.0 / parentScaling.z};
    const bool invertible = std::isfinite(undo.x) && std::isfinite(undo.y) && std::isfinite(undo.z);
    const AffineTransform parent =
        invertible ? AffineTransform::compose(scaling(undo), parentGlobal) : parentGlobal;
    return AffineTransform::compose(local, parent);
}

}  // namespace vorel
