// Foot contacts: the frames at which a joint rests on the floor, found from its path alone.
// A joint is in contact when it is low (within 2% of the figure's height above the lowest
// it ever gets) and slow (under 10% of the height per second, its speed averaged over a
// tenth of a second); runs shorter than 0.05 s do not count. Heights and seconds, not units
// and frames, so any capture's scale and frame rate give the same answer.
#pragma once

#include <string>
#include <vector>

#include "convert/affine_transform.h"

namespace vorel {

constexpr double ContactHeight = 0.02;
constexpr double ContactSpeed = 0.1;
constexpr double ContactSmoothing = 0.1;
constexpr double ContactShortest = 0.05;

// Frames first to last, both in the span.
struct ContactSpan {
    int first = 0;
    int last = 0;
};

// The contact spans of a path sampled frameTime apart, for a figure `height` tall.
std::vector<ContactSpan> findContacts(const std::vector<Point3d>& path, double height,
                                      double frameTime);

// The speed of a path at each frame (central differences, one-sided at the ends).
std::vector<double> pathSpeeds(const std::vector<Point3d>& path, double frameTime);

// "3-40 52-90": the spans as frame ranges; "none" when there are none.
std::string describeSpans(const std::vector<ContactSpan>& spans);

}  // namespace vorel
