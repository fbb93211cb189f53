// Quaternion operations: axis-angle construction in degrees, the Hamilton product, the
// conversions to and from a rotation block, and slerp.
#include "math/quaternion.h"

#include "math/precise.h"

namespace vorel {

const Quaternion Quaternion::Identity{};

namespace {

// The degree-to-radian factor is the decimal 0.0174533 in single precision, applied after
// halving; rotations authored against this value depend on its exact bits.
constexpr float DegreesToRadians = 0.0174533f;

}  // namespace

Quaternion::Quaternion(const Vector3& axis, float angleDegrees, bool normalise) {
    setAxisAngle(axis, angleDegrees, normalise);
}

Quaternion& Quaternion::setAxisAngle(const Vector3& axis, float angleDegrees, bool normalise) {
    const float halfAngle = (angleDegrees / 2.0f) * DegreesToRadians;
    const float sineHalf = preciseSin(halfAngle);
    x = axis.x * sineHalf;
    y = axis.y * sineHalf;
    z = axis.z * sineHalf;
    w = preciseCos(halfAngle);
    if (normalise) normalize();
    return *this;
}

Quaternion& Quaternion::set(float xValue, float yValue, float zValue, float wValue) {
    x = xValue;
    y = yValue;
    z = zValue;
    w = wValue;
    return *this;
}

Quaternion& Quaternion::assign(const Quaternion& q, bool normalise) {
    set(q.x, q.y, q.z, q.w);
    if (normalise) normalize();
    return *this;
}

Quaternion& Quaternion::normalize() {
    const float k = 1.0f / preciseSqrt(dot(*this, *this));
    x *= k;
    y *= k;
    z *= k;
    w *= k;
    return *this;
}

float Quaternion::dot(const Quaternion& p, const Quaternion& q) {
    return p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w;
}

Matrix4 Quaternion::toMatrix4() const {
    const float x2 = x + x;
    const float y2 = y + y;
    const float z2 = z + z;
    const float xx = x2 * x;
    const float xy = x2 * y;
    const float xz = x2 * z;
    const float xw = x2 * w;
    const float yy = y2 * y;
    const float yz = y2 * z;
    const float yw = y2 * w;
    const float zz = z2 * z;
    const float zw = z2 * w;
    Matrix4 m;
    m.setAxes(Vector3(1.0f - (yy + zz), xy + zw, xz - yw),
              Vector3(xy - zw, 1.0f - (xx + zz), yz + xw),
              Vector3(xz + yw, yz - xw, 1.0f - (xx + yy)), Vector3::Zero);
    return m;
}

Quaternion& Quaternion::setFromMatrix4(const Matrix4& m) {
    auto at = [&m](int r, int c) { return m.element(4 * c + r); };
    const float trace = at(0, 0) + at(1, 1) + at(2, 2);
    if (trace > 0.0f) {
        const float s = preciseSqrt(trace + 1.0f);
        w = 0.5f * s;
        const float f = 0.25f / w;
        x = (at(2, 1) - at(1, 2)) * f;
        y = (at(0, 2) - at(2, 0)) * f;
        z = (at(1, 0) - at(0, 1)) * f;
        return *this;
    }
    int i = 0;
    if (at(1, 1) > at(0, 0)) i = 1;
    if (at(2, 2) > at(i, i)) i = 2;
    const int j = (i + 1) % 3;
    const int k = (j + 1) % 3;
    float* components[3] = {&x, &y, &z};
    const float s = preciseSqrt(at(i, i) - at(j, j) - at(k, k) + 1.0f);
    *components[i] = 0.5f * s;
    const float f = s != 0.0f ? 0.5f / s : 0.0f;
    w = (at(k, j) - at(j, k)) * f;
    *components[j] = (at(j, i) + at(i, j)) * f;
    *components[k] = (at(k, i) + at(i, k)) * f;
    return *this;
}

Quaternion Quaternion::slerp(const Quaternion& a, const Quaternion& b, float t) {
    const float theta = preciseAcos(dot(a, b));
    const float k = 1.0f / preciseSin(theta);
    const float weightA = preciseSin((1.0f - t) * theta) * k;
    const float weightB = preciseSin(t * theta) * k;
    Quaternion result;
    result.set(weightA * a.x + weightB * b.x, weightA * a.y + weightB * b.y,
               weightA * a.z + weightB * b.z, weightA * a.w + weightB * b.w);
    return result;
}

}  // namespace vorel
