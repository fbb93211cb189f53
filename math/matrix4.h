// Matrix4: the affine transform type, sixteen floats in four Vector4 columns (column-major,
// column vectors). Element 4*k + r is row r of column k; elements 12, 13, 14 are the
// translation. Angles here are in radians. Not for projections: nothing reads the bottom row.
#pragma once

#include "math/vector3.h"
#include "math/vector4.h"

namespace vorel {

struct Quaternion;

struct Matrix4 {
    // The four columns; a default-constructed matrix is the identity.
    Vector4 columns[4] = {{1.0f, 0.0f, 0.0f, 0.0f},
                          {0.0f, 1.0f, 0.0f, 0.0f},
                          {0.0f, 0.0f, 1.0f, 0.0f},
                          {0.0f, 0.0f, 0.0f, 1.0f}};

    // Element 4*k + r: row r of column k.
    float& element(int index) { return columns[index / 4].component(index % 4); }
    float element(int index) const { return columns[index / 4].component(index % 4); }

    Matrix4& setAxes(const Vector3& xAxis, const Vector3& yAxis, const Vector3& zAxis,
                     const Vector3& origin);
    Matrix4& setColumns(const Vector4& col0, const Vector4& col1, const Vector4& col2,
                        const Vector4& col3);
    // Copies source, then forces the bottom row to (0, 0, 0, 1).
    Matrix4& assignAffine(const Matrix4& source);
    // Column i = 0..3 as (4i, 4i+1, 4i+2); column 3 is the translation.
    Vector3 column(int i) const;
    // Row i = 0..2 of the 3x3 block.
    Vector3 row(int i) const;
    // Writes elements 4i..4i+2; element 4i+3 is left alone.
    Matrix4& setColumn(int i, float x, float y, float z);
    // The transposed 3x3 block with zero translation and bottom row (0, 0, 0, 1).
    Matrix4 transposedRotation() const;

    Matrix4& setRotation(float angle, const Vector3& axis);
    Matrix4& setRotationX(float angle);
    Matrix4& setRotationY(float angle);
    Matrix4& setRotationZ(float angle);
    Matrix4& rotate(float angle, const Vector3& axis);
    Matrix4& rotateX(float angle);
    Matrix4& rotateY(float angle);
    Matrix4& rotateZ(float angle);
    Matrix4& setQuaternion(const Quaternion& q);
    // M = R(q) * M: the quaternion's rotation acts after this matrix.
    Matrix4& rotateBy(const Quaternion& q);
    // Frame with origin at the origin point, +Z towards target and upPoint in x = 0, y > 0;
    // the bottom row is (0, 0, 0, 1).
    // NOTE: a target equal to the origin has no direction; the frame then keeps the identity
    // rotation and only moves the origin point to (0, 0, 0). A target straight down -Z turns
    // half a circle about X instead of about an undefined axis.
    Matrix4& setPointFrame(const Vector3& origin, const Vector3& target, const Vector3& upPoint);

    static const Matrix4 Identity;
};

Vector3 transformPoint(const Matrix4& m, const Vector3& p);
// Returns second * first, so that first acts first; the result may alias either operand.
Matrix4 composeAffine(const Matrix4& first, const Matrix4& second);
Vector4 transformVector4(const Matrix4& m, const Vector4& v);

inline bool operator==(const Matrix4& a, const Matrix4& b) {
    for (int i = 0; i < 4; ++i) {
        if (a.columns[i] != b.columns[i]) return false;
    }
    return true;
}
inline bool operator!=(const Matrix4& a, const Matrix4& b) {
    return !(a == b);
}

}  // namespace vorel
