// BoneTransform: translation, scale and rotation of one bone, as sampled from a track,
// blended by the figure and turned into a bone's local matrix.
#pragma once

#include "math/quaternion.h"
#include "math/vector3.h"

namespace vorel {

struct BoneTransform {
    Vector3 translation;
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Quaternion rotation;
};

}  // namespace vorel
