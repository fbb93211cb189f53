// placeBones: each joint of an imported skeleton (any format) given its bone points: the tail
// towards a child joint at a distance, otherwise half its parent's length (a tenth of the
// skeleton's extent for a root), so bones keep the proportions of the joints.
#pragma once

#include "convert/imported_skeleton.h"

namespace vorel {

// Fills skeleton.points from restFrame and boneParent (bones in pre-order).
void placeBones(ImportedSkeleton& skeleton);

}  // namespace vorel
