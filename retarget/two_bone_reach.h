// twoBoneReach: where the knee goes when a thigh and a shin of fixed lengths reach from the
// hip to a goal: the analytic answer of the triangle they make, the knee on the side its
// current pose bends it towards, so a reach never flips it backwards.
#pragma once

#include "convert/affine_transform.h"

namespace vorel {

struct LegReach {
    Point3d hip;
    Point3d knee;
    // Where the ankle is to go.
    Point3d goal;
    double thigh = 0.0;
    double shin = 0.0;
    // The side a straight leg's knee bends to (the foot's forward direction), unit length.
    Point3d forward;
};

// The knee's position. A goal out of reach is met as nearly as the leg allows (the leg
// stretched towards it); a goal too near, with the leg folded as far as it goes.
Point3d twoBoneKnee(const LegReach& reach);

// The reach's longest: a little short of the leg's full length, where the knee's angle
// still moves smoothly with the goal.
double longestReach(double thigh, double shin);

}  // namespace vorel
