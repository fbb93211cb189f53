// holdRootsInPlace: a capture that walks across the floor, kept on the spot: each root's
// horizontal position channels hold their first frame's value, its height and turns stay.
#pragma once

#include "bvh/bvh_motion.h"

namespace vorel {

// Every frame's Xposition and Zposition of every root joint set to frame 0's.
void holdRootsInPlace(BvhMotion& motion);

}  // namespace vorel
