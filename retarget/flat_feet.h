// Flat feet: the frames at which a resting foot lies flat on the floor. A foot is flat when
// its ankle-to-toe line slopes as it does with both joints at their lowest (heel and ball
// down together), within a few degrees; a raised heel or a foot landing on its heel tilts
// the line. Measured on positions alone, so any rest pose and any unit give the same answer.
#pragma once

#include <vector>

#include "convert/affine_transform.h"
#include "retarget/foot_contacts.h"

namespace vorel {

constexpr double FlatToleranceDegrees = 5.0;

// The spans, within the foot's contact spans, at which the foot lies flat; spans shorter
// than ContactShortest do not count. The paths are the ankle's and the toe's, frameTime apart.
std::vector<ContactSpan> findFlatSpans(const std::vector<Point3d>& ankle,
                                       const std::vector<Point3d>& toe,
                                       const std::vector<ContactSpan>& contacts, double frameTime);

// The part of a turn that is about the vertical alone (the foot's heading); the turn itself
// when it has no such part (a foot turned upside down).
Quaternion4d headingOf(const Quaternion4d& turn);

}  // namespace vorel
