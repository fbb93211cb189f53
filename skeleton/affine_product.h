// composeAffineInline: the math library's composeAffine(first, second), second * first,
// written out over the matrices' fields in the header so that the bone matrix build and the
// skinning walk compose without calls. Every element is summed in the same order as there
// (the row dot products, then the translation), so the result is bit for bit the same.
#pragma once

#include "math/matrix4.h"

namespace vorel {

inline Matrix4 composeAffineInline(const Matrix4& first, const Matrix4& second) {
    const Vector4* s = second.columns;
    // Like composeAffine, the product starts as the identity and only its top three rows
    // are written, so it leaves with (0, 0, 0, 1) at the bottom whatever the operands hold.
    Matrix4 product;
    for (int k = 0; k < 3; ++k) {
        const Vector4& f = first.columns[k];
        product.columns[k].x = s[0].x * f.x + s[1].x * f.y + s[2].x * f.z;
        product.columns[k].y = s[0].y * f.x + s[1].y * f.y + s[2].y * f.z;
        product.columns[k].z = s[0].z * f.x + s[1].z * f.y + s[2].z * f.z;
    }
    const Vector4& t = first.columns[3];
    product.columns[3].x = (s[0].x * t.x + s[1].x * t.y + s[2].x * t.z) + s[3].x;
    product.columns[3].y = (s[0].y * t.x + s[1].y * t.y + s[2].y * t.z) + s[3].y;
    product.columns[3].z = (s[0].z * t.x + s[1].z * t.y + s[2].z * t.z) + s[3].z;
    return product;
}

}  // namespace vorel
