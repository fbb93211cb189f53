// Count, bounding box and coordinate sums of a list of vectors.
#include "tools/inspect/vector_digest.h"

#include <algorithm>

namespace vorel {

VectorDigest digestVectors(const std::vector<Vector3>& vectors) {
    VectorDigest digest;
    digest.count = vectors.size();
    if (vectors.empty()) return digest;
    digest.min = vectors.front();
    digest.max = vectors.front();
    for (const Vector3& v : vectors) {
        digest.min.set(std::min(digest.min.x, v.x), std::min(digest.min.y, v.y),
                       std::min(digest.min.z, v.z));
        digest.max.set(std::max(digest.max.x, v.x), std::max(digest.max.y, v.y),
                       std::max(digest.max.z, v.z));
        digest.sum[0] += v.x;
        digest.sum[1] += v.y;
        digest.sum[2] += v.z;
    }
    return digest;
}

}  // namespace vorel
