// Vector3: a point or direction in right-handed 3-D space, three single-precision floats.
// Plain value type: no heap, no invariants. Sums and scalings are written out where needed.
#pragma once

namespace vorel {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    // Overwrites the three fields; returns the vector itself.
    Vector3& set(float xValue, float yValue, float zValue);
    // Scales to unit length with one reciprocal and three multiplications.
    // NOTE: no guard against zero length; the result is then infinite or NaN.
    Vector3& normalize();
    Vector3 negated() const;

    static float dot(const Vector3& a, const Vector3& b);
    static Vector3 cross(const Vector3& a, const Vector3& b);

    static const Vector3 Zero;
    static const Vector3 XAxis;
    static const Vector3 YAxis;
    static const Vector3 ZAxis;
};

// Exact component-wise comparison; tests and tools use it, the frame path does not.
inline bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool operator!=(const Vector3& a, const Vector3& b) {
    return !(a == b);
}

}  // namespace vorel
