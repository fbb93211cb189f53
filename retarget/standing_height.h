// How tall a recorded figure stands, measured in its own frames rather than in its rest pose:
// a rig's rest may lie, bend or hold the standing height in its root's offset, but the frames
// show the body on its floor (y = 0).
#pragma once

#include <vector>

#include "retarget/source_motion.h"

namespace vorel {

// The root's height above the lowest of the foot joints, as the figure stands: a high
// percentile over the frames, so that crouches and jumps do not count but a walk's bent
// knees do not shorten it much either.
double standingHeight(const SourceMotion& source, int root, const std::vector<int>& feet);

// The figure's height: the vertical extent of its joints, taken over the frames alike.
double figureHeight(const SourceMotion& source);

}  // namespace vorel
