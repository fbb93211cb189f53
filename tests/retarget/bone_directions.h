// The world directions a retarget must match, worked out on their own from the posed target
// (each bone from its head to its tail) and from the source's joint positions (each mapped
// bone's source segment, named here for the CMU joint names), and the largest angle between.
#pragma once

#include <string>
#include <vector>

#include "assets/model_data.h"
#include "math/matrix4.h"
#include "retarget/source_motion.h"

namespace vorel {

struct BoneSegment {
    const char* bone;
    // The source segment the bone must point along: from one joint to another.
    const char* from;
    const char* to;
};

// The angle between two directions, in degrees.
double angleDegrees(const Point3d& a, const Point3d& b);

// The default dancer's bones and the CMU segments they follow.
const std::vector<BoneSegment>& cmuSegments();

struct WorstAngle {
    double degrees = 0.0;
    std::string bone;
    int frame = -1;
};

// The angle between each segment's source direction at `frame` and the direction of its
// target bone moved by its world matrix (`worlds` in the model's bone pre-order); keeps the
// worst in `worst`.
void compareDirections(const ModelData& target, const std::vector<Matrix4>& worlds,
                       const SourceMotion& source, int frame,
                       const std::vector<BoneSegment>& segments, WorstAngle& worst);

}  // namespace vorel
