// How Vorel reads between two keys of a track, for importers that choose which keys to keep:
// every component interpolated on its own, the quaternion normalised afterwards.
#pragma once

#include "convert/affine_transform.h"

namespace vorel {

// Vorel's reading of the segment a-b at fraction s.
TrsTransform interpolateAsVorel(const TrsTransform& a, const TrsTransform& b, double s);

double quaternionDot(const Quaternion4d& a, const Quaternion4d& b);

// Puts the motion's quaternion on the same side as the key before, so components
// interpolate along the short arc.
void alignQuaternionSign(const TrsTransform& previous, TrsTransform& motion);

}  // namespace vorel
