// Matrix4 operations: affine access, products, rotation setters and in-place rotations, and the
// frame built from three points. Sines, cosines and roots go through precise.h.
#include "math/matrix4.h"

#include <cmath>

#include "math/precise.h"
#include "math/quaternion.h"

namespace vorel {

const Matrix4 Matrix4::Identity{};

namespace {

// The rows of R(angle, axis) for a unit axis, from the sine and cosine already rounded.
void rotationRows(float c, float s, const Vector3& axis, Vector3 rows[3]) {
    const float t = 1.0f - c;
    const float x = axis.x;
    const float y = axis.y;
    const float z = axis.z;
    rows[0] = Vector3(t * x * x + c, t * x * y - s * z, t * x * z + s * y);
    rows[1] = Vector3(t * x * y + s * z, t * y * y + c, t * y * z - s * x);
    rows[2] = Vector3(t * x * z - s * y, t * y * z + s * x, t * z * z + c);
}

// Writes a 3x3 block given as rows and a zero translation; the bottom row is left alone, as
// the rotation setters promise.
void setBlockFromRows(Matrix4& m, const Vector3 rows[3]) {
    m.setColumn(0, rows[0].x, rows[1].x, rows[2].x);
    m.setColumn(1, rows[0].y, rows[1].y, rows[2].y);
    m.setColumn(2, rows[0].z, rows[1].z, rows[2].z);
    m.setColumn(3, 0.0f, 0.0f, 0.0f);
}

// Turns two rows (a, b) of every column by the angle whose cosine and sine are given:
// a' = c*a - s*b, b' = s*a + c*b. The old values of both rows are read before writing.
void turnRows(Matrix4& m, int a, int b, float c, float s) {
    for (int j = 0; j < 4; ++j) {
        const float oldA = m.element(4 * j + a);
        const float oldB = m.element(4 * j + b);
        m.element(4 * j + a) = c * oldA - s * oldB;
        m.element(4 * j + b) = s * oldA + c * oldB;
    }
}

bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

float squared(float value) {
    return value * value;
}

Vector3 difference(const Vector3& a, const Vector3& b) {
    return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Whether a unit direction is within the frame builder's tolerance of +Z. The tolerance is the
// decimal 0.0001, so the float squares are compared in double.
bool isAlongZ(const Vector3& direction) {
    return double{squared(direction.x)} < 0.0001 && double{squared(direction.y)} < 0.0001 &&
           double{squared(direction.z - 1.0f)} < 0.0001;
}

// Makes m the rotation that takes the unit direction onto +Z, about the axis direction x Z.
void turnOntoZ(Matrix4& m, const Vector3& direction) {
    const float angle = preciseAcos(Vector3::dot(direction, Vector3::ZAxis));
    Vector3 axis = Vector3::cross(direction, Vector3::ZAxis);
    axis.normalize();
    // Straight down -Z the cross product is zero; any axis in the XY plane turns -Z onto +Z.
    if (!isFinite(axis)) axis = Vector3::XAxis;
    m.setRotation(angle, axis);
}

}  // namespace

Matrix4& Matrix4::setAxes(const Vector3& xAxis, const Vector3& yAxis, const Vector3& zAxis,
                          const Vector3& origin) {
    return setColumns(Vector4(xAxis, 0.0f), Vector4(yAxis, 0.0f), Vector4(zAxis, 0.0f),
                      Vector4(origin, 1.0f));
}

Matrix4& Matrix4::setColumns(const Vector4& col0, const Vector4& col1, const Vector4& col2,
                             const Vector4& col3) {
    columns[0] = col0;
    columns[1] = col1;
    columns[2] = col2;
    columns[3] = col3;
    return *this;
}

Matrix4& Matrix4::assignAffine(const Matrix4& source) {
    *this = source;
    columns[0].w = 0.0f;
    columns[1].w = 0.0f;
    columns[2].w = 0.0f;
    columns[3].w = 1.0f;
    return *this;
}

Vector3 Matrix4::column(int i) const {
    return Vector3(columns[i].x, columns[i].y, columns[i].z);
}

Vector3 Matrix4::row(int i) const {
    return Vector3(element(i), element(i + 4), element(i + 8));
}

Matrix4& Matrix4::setColumn(int i, float x, float y, float z) {
    columns[i].x = x;
    columns[i].y = y;
    columns[i].z = z;
    return *this;
}

Matrix4 Matrix4::transposedRotation() const {
    Matrix4 result;
    result.setAxes(row(0), row(1), row(2), Vector3::Zero);
    return result;
}

Matrix4& Matrix4::setRotation(float angle, const Vector3& axis) {
    if (angle == 0.0f) return *this = Identity;
    Vector3 rows[3];
    rotationRows(preciseCos(angle), preciseSin(angle), axis, rows);
    setBlockFromRows(*this, rows);
    return *this;
}

Matrix4& Matrix4::setRotationX(float angle) {
    if (angle == 0.0f) return *this = Identity;
    const float c = preciseCos(angle);
    const float s = preciseSin(angle);
    const Vector3 rows[3] = {{1.0f, 0.0f, 0.0f}, {0.0f, c, -s}, {0.0f, s, c}};
    setBlockFromRows(*this, rows);
    return *this;
}

Matrix4& Matrix4::setRotationY(float angle) {
    if (angle == 0.0f) return *this = Identity;
    const float c = preciseCos(angle);
    const float s = preciseSin(angle);
    const Vector3 rows[3] = {{c, 0.0f, s}, {0.0f, 1.0f, 0.0f}, {-s, 0.0f, c}};
    setBlockFromRows(*this, rows);
    return *this;
}

Matrix4& Matrix4::setRotationZ(float angle) {
    if (angle == 0.0f) return *this = Identity;
    const float c = preciseCos(angle);
    const float s = preciseSin(angle);
    const Vector3 rows[3] = {{c, -s, 0.0f}, {s, c, 0.0f}, {0.0f, 0.0f, 1.0f}};
    setBlockFromRows(*this, rows);
    return *this;
}

Matrix4& Matrix4::rotate(float angle, const Vector3& axis) {
    if (angle == 0.0f) return *this;
    Vector3 rows[3];
    rotationRows(preciseCos(angle), preciseSin(angle), axis, rows);
    for (int j = 0; j < 4; ++j) {
        const Vector3 v = column(j);
        setColumn(j, Vector3::dot(rows[0], v), Vector3::dot(rows[1], v), Vector3::dot(rows[2], v));
    }
    return *this;
}

Matrix4& Matrix4::rotateX(float angle) {
    if (angle == 0.0f) return *this;
    turnRows(*this, 1, 2, preciseCos(angle), preciseSin(angle));
    return *this;
}

Matrix4& Matrix4::rotateY(float angle) {
    if (angle == 0.0f) return *this;
    // Ry turns Z towards X: row0 = c*row0 + s*row2, row2 = -s*row0 + c*row2.
    turnRows(*this, 2, 0, preciseCos(angle), preciseSin(angle));
    return *this;
}

Matrix4& Matrix4::rotateZ(float angle) {
    if (angle == 0.0f) return *this;
    turnRows(*this, 0, 1, preciseCos(angle), preciseSin(angle));
    return *this;
}

Matrix4& Matrix4::setQuaternion(const Quaternion& q) {
    return assignAffine(q.toMatrix4());
}

Matrix4& Matrix4::rotateBy(const Quaternion& q) {
    return *this = composeAffine(*this, q.toMatrix4());
}

Matrix4& Matrix4::setPointFrame(const Vector3& origin, const Vector3& target,
                                const Vector3& upPoint) {
    *this = Identity;
    Vector3 direction = difference(target, origin);
    direction.normalize();
    // A target on the origin leaves a NaN direction: keep the identity rotation then.
    if (isFinite(direction)) {
        if (!isAlongZ(direction)) turnOntoZ(*this, direction);
        const Vector3 up = transformPoint(*this, difference(upPoint, origin));
        const float phi = preciseAtan2(-up.x, up.y);
        if (phi != 0.0f) rotateZ(-phi);
    }
    const Vector3 moved = transformPoint(*this, origin.negated());
    setColumn(3, moved.x, moved.y, moved.z);
    return *this;
}

Vector3 transformPoint(const Matrix4& m, const Vector3& p) {
    return Vector3(m.element(0) * p.x + m.element(4) * p.y + m.element(8) * p.z + m.element(12),
                   m.element(1) * p.x + m.element(5) * p.y + m.element(9) * p.z + m.element(13),
                   m.element(2) * p.x + m.element(6) * p.y + m.element(10) * p.z + m.element(14));
}

Matrix4 composeAffine(const Matrix4& first, const Matrix4& second) {
    // Built in a temporary that starts as the identity: setColumn never writes the bottom row,
    // so the product leaves with (0, 0, 0, 1) there whatever the operands hold.
    Matrix4 product = Matrix4::Identity;
    for (int k = 0; k < 3; ++k) {
        const Vector3 firstColumn = first.column(k);
        product.setColumn(k, Vector3::dot(second.row(0), firstColumn),
                          Vector3::dot(second.row(1), firstColumn),
                          Vector3::dot(second.row(2), firstColumn));
    }
    const Vector3 firstTranslation = first.column(3);
    product.setColumn(3, Vector3::dot(second.row(0), firstTranslation) + second.element(12),
                      Vector3::dot(second.row(1), firstTranslation) + second.element(13),
                      Vector3::dot(second.row(2), firstTranslation) + second.element(14));
    return product;
}

Vector4 transformVector4(const Matrix4& m, const Vector4& v) {
    Vector4 result;
    for (int r = 0; r < 4; ++r) {
        result.component(r) = m.element(r) * v.x + m.element(4 + r) * v.y + m.element(8 + r) * v.z +
                              m.element(12 + r) * v.w;
    }
    return result;
}

}  // namespace vorel
