// Blending a vertex over its joints, as every importer does it: which influences a vertex
// keeps (the four heaviest, renormalised), the rest transform they blend to, and the one
// warning that counts the vertices that lost weight.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/vertex_influences.h"
#include "convert/affine_transform.h"

namespace vorel {

// The vertex's influences from `pairs` ({joint, weight}, in any order, a joint possibly more
// than once): the positive weights summed joint by joint, the MaxInfluences heaviest kept
// (ties to the lower joint) and normalised. Joints stay the caller's joint indices. Returns
// true when more joints than that had weight and the lightest were dropped. Reorders `pairs`.
bool keepHeaviestInfluences(std::vector<Influence>& pairs, VertexInfluences& kept);

// The weighted sum of the joints' rest transforms (indexed by the influences' joints), the
// weights scaled to sum to 1 exactly in double, so that joints that agree on a point give
// that point.
AffineTransform blendedTransform(const VertexInfluences& influences,
                                 const std::vector<AffineTransform>& jointTransforms);

// "N vertices have more than four joints: ...", once per import with any such vertex.
void warnTrimmedVertices(std::int64_t trimmedCount, std::vector<std::string>& warnings);

}  // namespace vorel
