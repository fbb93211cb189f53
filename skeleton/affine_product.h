// composeAffineInline: the math library's composeAffine(first, second), second * first,
// written out in the header so that the bone matrix build and the skinning walk compose
// without calls. Each column of the product is worked out in lanes, one lane per row, summed
// in the same order as there (the row dot products, then the translation), so every element
// is bit for bit the same.
#pragma once

#include "math/float_lanes.h"
#include "math/matrix4.h"

namespace vorel {

namespace affine_lanes {

inline FloatLanes columnLanes(const Vector4& column) {
    return FloatLanes{column.x, column.y, column.z, column.w};
}

// The top three rows of the lanes, with the bottom row's element given.
inline Vector4 columnOf(FloatLanes lanes, float bottom) {
    return Vector4(lanes[0], lanes[1], lanes[2], bottom);
}

}  // namespace affine_lanes

inline Matrix4 composeAffineInline(const Matrix4& first, const Matrix4& second) {
    using affine_lanes::columnLanes;
    using affine_lanes::columnOf;
    const FloatLanes s0 = columnLanes(second.columns[0]);
    const FloatLanes s1 = columnLanes(second.columns[1]);
    const FloatLanes s2 = columnLanes(second.columns[2]);
    // Like composeAffine, the product leaves with (0, 0, 0, 1) at the bottom whatever the
    // operands hold: the bottom lane's sums are dropped.
    Matrix4 product;
    for (int k = 0; k < 3; ++k) {
        const Vector4& f = first.columns[k];
        product.columns[k] =
            columnOf(s0 * splatLanes(f.x) + s1 * splatLanes(f.y) + s2 * splatLanes(f.z), 0.0f);
    }
    const Vector4& t = first.columns[3];
    product.columns[3] =
        columnOf((s0 * splatLanes(t.x) + s1 * splatLanes(t.y) + s2 * splatLanes(t.z)) +
                     columnLanes(second.columns[3]),
                 1.0f);
    return product;
}

}  // namespace vorel
