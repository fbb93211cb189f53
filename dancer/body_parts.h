// The dancer's body surfaces: one closed surface (or a few) per bone, shaped from the body
// proportions and placed on the skeleton's rest points.
#pragma once

#include "dancer/body_proportions.h"
#include "dancer/mesh_builder.h"
#include "dancer/skeleton_layout.h"

namespace vorel {

void addBodyParts(MeshBuilder& mesh, const BodyProportions& body, const SkeletonLayout& skeleton);

}  // namespace vorel
