// Double-precision affine transforms, TRS decomposition and quaternion helpers for the
// format converters.
#include "convert/affine_transform.h"

#include <algorithm>
#include <cmath>

#include "math/pi.h"

namespace vorel {

namespace {

Point3d columnOf(const double linear[3][3], int column) {
    return {linear[0][column], linear[1][column], linear[2][column]};
}

void setColumnOf(double linear[3][3], int column, const Point3d& value) {
    linear[0][column] = value.x;
    linear[1][column] = value.y;
    linear[2][column] = value.z;
}

bool isFinite(const Point3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

AffineTransform AffineTransform::compose(const AffineTransform& first,
                                         const AffineTransform& second) {
    AffineTransform product;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            double value = 0.0;
            for (int k = 0; k < 3; ++k) value += second.linear[row][k] * first.linear[k][column];
            product.linear[row][column] = value;
        }
    }
    product.translation = second.transformPoint(first.translation);
    return product;
}

AffineTransform AffineTransform::fromTrs(const TrsTransform& trs) {
    const Quaternion4d q = trs.rotation;
    const double xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const double xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const double wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    const double rotation[3][3] = {{1.0 - 2.0 * (yy + zz), 2.0 * (xy - wz), 2.0 * (xz + wy)},
                                   {2.0 * (xy + wz), 1.0 - 2.0 * (xx + zz), 2.0 * (yz - wx)},
                                   {2.0 * (xz - wy), 2.0 * (yz + wx), 1.0 - 2.0 * (xx + yy)}};
    const double scale[3] = {trs.scale.x, trs.scale.y, trs.scale.z};
    AffineTransform result;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            result.linear[row][column] = rotation[row][column] * scale[column];
        }
    }
    result.translation = trs.translation;
    return result;
}

AffineTransform AffineTransform::fromColumnMajor(const double* values) {
    AffineTransform result;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) result.linear[row][column] = values[4 * column + row];
    }
    result.translation = {values[12], values[13], values[14]};
    return result;
}

AffineTransform AffineTransform::fromMatrix4(const Matrix4& matrix) {
    double values[16];
    for (int i = 0; i < 16; ++i) values[i] = matrix.element(i);
    return fromColumnMajor(values);
}

Point3d AffineTransform::transformPoint(const Point3d& point) const {
    const Point3d moved = transformDirection(point);
    return {moved.x + translation.x, moved.y + translation.y, moved.z + translation.z};
}

Point3d AffineTransform::transformDirection(const Point3d& d) const {
    return {linear[0][0] * d.x + linear[0][1] * d.y + linear[0][2] * d.z,
            linear[1][0] * d.x + linear[1][1] * d.y + linear[1][2] * d.z,
            linear[2][0] * d.x + linear[2][1] * d.y + linear[2][2] * d.z};
}

double AffineTransform::determinant() const {
    const double(&m)[3][3] = linear;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

bool AffineTransform::inverted(AffineTransform& result) const {
    const double det = determinant();
    if (!std::isfinite(det) || std::fabs(det) < 1e-300) return false;
    const double(&m)[3][3] = linear;
    AffineTransform inverse;
    inverse.linear[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    inverse.linear[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    inverse.linear[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    inverse.linear[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    inverse.linear[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    inverse.linear[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    inverse.linear[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    inverse.linear[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    inverse.linear[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    const Point3d moved = inverse.transformDirection(translation);
    inverse.translation = {-moved.x, -moved.y, -moved.z};
    result = inverse;
    return true;
}

Matrix4 AffineTransform::toMatrix4() const {
    Matrix4 result;
    result.setAxes(toVector3(columnOf(linear, 0)), toVector3(columnOf(linear, 1)),
                   toVector3(columnOf(linear, 2)), toVector3(translation));
    return result;
}

TrsTransform decomposeTrs(const AffineTransform& transform, bool& sheared) {
    TrsTransform result;
    result.translation = transform.translation;
    Point3d columns[3];
    double scales[3];
    for (int k = 0; k < 3; ++k) {
        columns[k] = columnOf(transform.linear, k);
        scales[k] = length(columns[k]);
    }
    // A mirrored linear part keeps a proper rotation by flipping the first scale.
    if (transform.determinant() < 0.0) scales[0] = -scales[0];
    sheared = false;
    double rotation[3][3];
    Point3d axes[3];
    for (int k = 0; k < 3; ++k) {
        axes[k] = scales[k] != 0.0 ? scaled(columns[k], 1.0 / scales[k]) : Point3d{};
    }
    const double tolerance = 1e-4;
    if (std::fabs(dot(axes[0], axes[1])) > tolerance ||
        std::fabs(dot(axes[0], axes[2])) > tolerance ||
        std::fabs(dot(axes[1], axes[2])) > tolerance) {
        sheared = true;
    }
    // Gram-Schmidt keeps the result a rotation when rounding or shear bends the columns.
    Point3d x = axes[0];
    if (!isFinite(x) || length(x) == 0.0) x = {1.0, 0.0, 0.0};
    x = scaled(x, 1.0 / length(x));
    Point3d y = difference(axes[1], scaled(x, dot(axes[1], x)));
    if (!isFinite(y) || length(y) < 1e-12) {
        y = std::fabs(x.x) < 0.9 ? Point3d{1.0, 0.0, 0.0} : Point3d{0.0, 1.0, 0.0};
        y = difference(y, scaled(x, dot(y, x)));
    }
    y = scaled(y, 1.0 / length(y));
    const Point3d z = cross(x, y);
    setColumnOf(rotation, 0, x);
    setColumnOf(rotation, 1, y);
    setColumnOf(rotation, 2, z);
    result.rotation = quaternionFromRotation(rotation);
    result.scale = {scales[0], scales[1], scales[2]};
    return result;
}

Quaternion4d normalizedQuaternion(const Quaternion4d& q) {
    const double norm = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (!(norm > 0.0) || !std::isfinite(norm)) return Quaternion4d{};
    return {q.x / norm, q.y / norm, q.z / norm, q.w / norm};
}

Quaternion4d hamiltonProduct(const Quaternion4d& a, const Quaternion4d& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quaternion4d conjugated(const Quaternion4d& q) {
    return {-q.x, -q.y, -q.z, q.w};
}

Quaternion4d quaternionFromRotation(const double m[3][3]) {
    Quaternion4d q;
    const double trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(1.0 + trace);
        q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, 0.25 * s};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]);
        q = {0.25 * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
    } else if (m[1][1] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]);
        q = {(m[0][1] + m[1][0]) / s, 0.25 * s, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]);
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25 * s, (m[1][0] - m[0][1]) / s};
    }
    return normalizedQuaternion(q);
}

Quaternion4d slerp(const Quaternion4d& a, const Quaternion4d& b, double t) {
    double cosine = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    Quaternion4d end = b;
    if (cosine < 0.0) {
        cosine = -cosine;
        end = {-b.x, -b.y, -b.z, -b.w};
    }
    double weightA = 1.0 - t;
    double weightB = t;
    if (cosine < 0.9999999) {
        const double angle = std::acos(std::min(1.0, cosine));
        const double sine = std::sin(angle);
        weightA = std::sin((1.0 - t) * angle) / sine;
        weightB = std::sin(t * angle) / sine;
    }
    return normalizedQuaternion({weightA * a.x + weightB * end.x, weightA * a.y + weightB * end.y,
                                 weightA * a.z + weightB * end.z, weightA * a.w + weightB * end.w});
}

double angleBetweenDegrees(const Quaternion4d& a, const Quaternion4d& b) {
    const Quaternion4d na = normalizedQuaternion(a);
    const Quaternion4d nb = normalizedQuaternion(b);
    const double cosine = std::fabs(na.x * nb.x + na.y * nb.y + na.z * nb.z + na.w * nb.w);
    return 2.0 * std::acos(std::min(1.0, cosine)) * 180.0 / Pi;
}

Quaternion4d rotationBetween(const Point3d& from, const Point3d& to) {
    const double c = dot(from, to);
    if (c < -1.0 + 1e-12) {
        const Point3d other =
            std::fabs(from.x) < 0.9 ? Point3d{1.0, 0.0, 0.0} : Point3d{0.0, 1.0, 0.0};
        const Point3d axis = normalized(cross(from, other));
        return {axis.x, axis.y, axis.z, 0.0};
    }
    const Point3d axis = cross(from, to);
    return normalizedQuaternion({axis.x, axis.y, axis.z, 1.0 + c});
}

Quaternion4d rotationOf(const AffineTransform& transform) {
    bool sheared = false;
    return normalizedQuaternion(decomposeTrs(transform, sheared).rotation);
}

AffineTransform rotationTransform(const Quaternion4d& q) {
    TrsTransform trs;
    trs.rotation = q;
    return AffineTransform::fromTrs(trs);
}

Point3d rotated(const Quaternion4d& q, const Point3d& v) {
    return rotationTransform(q).transformDirection(v);
}

Point3d toPoint3d(const Vector3& v) {
    return {v.x, v.y, v.z};
}

Vector3 toVector3(const Point3d& p) {
    return Vector3(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
}

Point3d difference(const Point3d& a, const Point3d& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double length(const Point3d& p) {
    return std::sqrt(dot(p, p));
}

double dot(const Point3d& a, const Point3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point3d cross(const Point3d& a, const Point3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Point3d scaled(const Point3d& p, double factor) {
    return {p.x * factor, p.y * factor, p.z * factor};
}

Point3d sum(const Point3d& a, const Point3d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Point3d normalized(const Point3d& p) {
    const double l = length(p);
    return l > 0.0 ? scaled(p, 1.0 / l) : p;
}

AffineTransform normalMatrix(const AffineTransform& transform) {
    AffineTransform inverse;
    if (!transform.inverted(inverse)) return transform;
    AffineTransform result;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) result.linear[r][c] = inverse.linear[c][r];
    }
    return result;
}

Vector3 unitOrUp(const Point3d& direction) {
    const double size = length(direction);
    if (!(size > 0.0) || !std::isfinite(size)) return Vector3(0.0f, 1.0f, 0.0f);
    return toVector3(scaled(direction, 1.0 / size));
}

}  // namespace vorel
