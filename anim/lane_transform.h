// A bone's transform read from lane `lane` of ten lanes of fields, in the channel order of the
// animation files: translation x y z, scale x y z, rotation x y z w.
#pragma once

#include "math/float_lanes.h"
#include "skeleton/bone_transform.h"

namespace vorel {

inline BoneTransform transformInLane(const FloatLanes* fields, int lane) {
    BoneTransform transform;
    transform.translation = Vector3(fields[0][lane], fields[1][lane], fields[2][lane]);
    transform.scale = Vector3(fields[3][lane], fields[4][lane], fields[5][lane]);
    transform.rotation.x = fields[6][lane];
    transform.rotation.y = fields[7][lane];
    transform.rotation.z = fields[8][lane];
    transform.rotation.w = fields[9][lane];
    return transform;
}

}  // namespace vorel
