// RigidTransform: the 3x4 part of a bone's world matrix, held in locals so that the skinning
// loops run without calls. Each product is summed in the same order as transformPoint and
// the row dot products, so the results are bit for bit the same.
#pragma once

#include "math/matrix4.h"
#include "math/vector3.h"

namespace vorel {

class RigidTransform {
  public:
    explicit RigidTransform(const Matrix4& world) {
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 3; ++row) m[3 * column + row] = world.element(4 * column + row);
        }
    }

    // m0 x + m4 y + m8 z + m12, and likewise for y and z.
    Vector3 point(const Vector3& p) const {
        return Vector3(m[0] * p.x + m[3] * p.y + m[6] * p.z + m[9],
                       m[1] * p.x + m[4] * p.y + m[7] * p.z + m[10],
                       m[2] * p.x + m[5] * p.y + m[8] * p.z + m[11]);
    }
    // The 3x3 block only: no translation.
    Vector3 direction(const Vector3& n) const {
        return Vector3(m[0] * n.x + m[3] * n.y + m[6] * n.z, m[1] * n.x + m[4] * n.y + m[7] * n.z,
                       m[2] * n.x + m[5] * n.y + m[8] * n.z);
    }

    // The twelve floats below, for a pass that keeps every bone's transform.
    const float* elements() const { return m; }

  private:
    // The four columns without their bottom row: element 3k + r is row r of column k.
    float m[12];
};

}  // namespace vorel
