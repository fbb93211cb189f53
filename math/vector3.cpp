// Vector3 operations and the zero and axis constants.
#include "math/vector3.h"

#include "math/precise.h"

namespace vorel {

const Vector3 Vector3::Zero(0.0f, 0.0f, 0.0f);
const Vector3 Vector3::XAxis(1.0f, 0.0f, 0.0f);
const Vector3 Vector3::YAxis(0.0f, 1.0f, 0.0f);
const Vector3 Vector3::ZAxis(0.0f, 0.0f, 1.0f);

Vector3& Vector3::set(float xValue, float yValue, float zValue) {
    x = xValue;
    y = yValue;
    z = zValue;
    return *this;
}

Vector3& Vector3::normalize() {
    const float squared = x * x + y * y + z * z;
    const float k = 1.0f / preciseSqrt(squared);
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

Vector3 Vector3::negated() const {
    return Vector3(-x, -y, -z);
}

float Vector3::dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 Vector3::cross(const Vector3& a, const Vector3& b) {
    return Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace vorel
