// Vector4: a homogeneous four-component value, one column of a Matrix4.
// A default Vector4 is the point at the origin (0, 0, 0, 1), not all zeros.
#pragma once

#include "math/vector3.h"

namespace vorel {

struct Vector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Vector4() = default;
    constexpr Vector4(float xValue, float yValue, float zValue, float wValue)
        : x(xValue), y(yValue), z(zValue), w(wValue) {}
    constexpr Vector4(const Vector3& v, float wValue) : x(v.x), y(v.y), z(v.z), w(wValue) {}

    // Component 0..3 (x, y, z, w) by index, through the named fields rather than by pointer
    // arithmetic across them.
    float& component(int i) {
        switch (i) {
            case 0:
                return x;
            case 1:
                return y;
            case 2:
                return z;
            default:
                return w;
        }
    }
    float component(int i) const { return const_cast<Vector4&>(*this).component(i); }
};

inline bool operator==(const Vector4& a, const Vector4& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
inline bool operator!=(const Vector4& a, const Vector4& b) {
    return !(a == b);
}

}  // namespace vorel
