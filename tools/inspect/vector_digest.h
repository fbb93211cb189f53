// VectorDigest: a short fingerprint of a list of vectors (count, bounding box, coordinate
// sums) that lets two runs be compared without printing every vertex.
#pragma once

#include <cstddef>
#include <vector>

#include "math/vector3.h"

namespace vorel {

struct VectorDigest {
    std::size_t count = 0;
    // Component-wise minimum and maximum; both zero when the list is empty.
    Vector3 min;
    Vector3 max;
    // Sums of x, y and z in index order, accumulated in double so the order matters little.
    double sum[3] = {0.0, 0.0, 0.0};
};

VectorDigest digestVectors(const std::vector<Vector3>& vectors);

}  // namespace vorel
