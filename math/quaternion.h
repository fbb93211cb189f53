// Quaternion: a rotation as (x, y, z, w) with w the scalar part. The axis-angle constructor
// takes degrees; everything else in the math library takes radians. Unit length is the
// caller's business: only the normalise flags and the sampler restore it.
#pragma once

#include "math/matrix4.h"
#include "math/vector3.h"

namespace vorel {

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    Quaternion(const Vector3& axis, float angleDegrees, bool normalise);

    Quaternion& setAxisAngle(const Vector3& axis, float angleDegrees, bool normalise);
    Quaternion& set(float xValue, float yValue, float zValue, float wValue);
    Quaternion& assign(const Quaternion& q, bool normalise);
    // Hamilton product q ⊗ this: the result rotates by this first, then by q.
    Quaternion multiply(const Quaternion& q) const;
    Quaternion& multiplyInPlace(const Quaternion& q);
    // Scales all four components by one reciprocal of the length; no zero-length guard.
    Quaternion& normalize();
    Matrix4 toMatrix4() const;
    Quaternion& setFromMatrix4(const Matrix4& m);

    static float dot(const Quaternion& p, const Quaternion& q);
    // Spherical interpolation without sign flip, small-angle fallback or normalisation.
    static Quaternion slerp(const Quaternion& a, const Quaternion& b, float t);

    static const Quaternion Identity;
};

// Inline: the figure folds one product per bone and playing track every frame.
inline Quaternion Quaternion::multiply(const Quaternion& q) const {
    const Quaternion& p = *this;
    Quaternion product;
    product.x = p.w * q.x + q.w * p.x + (p.z * q.y - p.y * q.z);
    product.y = p.w * q.y + q.w * p.y + (p.x * q.z - p.z * q.x);
    product.z = p.w * q.z + q.w * p.z + (p.y * q.x - p.x * q.y);
    product.w = p.w * q.w - (p.x * q.x + p.y * q.y + p.z * q.z);
    return product;
}

inline Quaternion& Quaternion::multiplyInPlace(const Quaternion& q) {
    return *this = multiply(q);
}

inline bool operator==(const Quaternion& a, const Quaternion& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
inline bool operator!=(const Quaternion& a, const Quaternion& b) {
    return !(a == b);
}

}  // namespace vorel
