// Vorel's per-component key interpolation in double precision.
#include "convert/key_interpolation.h"

namespace vorel {

TrsTransform interpolateAsVorel(const TrsTransform& a, const TrsTransform& b, double s) {
    auto mix = [s](double x, double y) { return x + s * (y - x); };
    TrsTransform r;
    r.translation = {mix(a.translation.x, b.translation.x), mix(a.translation.y, b.translation.y),
                     mix(a.translation.z, b.translation.z)};
    r.scale = {mix(a.scale.x, b.scale.x), mix(a.scale.y, b.scale.y), mix(a.scale.z, b.scale.z)};
    r.rotation =
        normalizedQuaternion({mix(a.rotation.x, b.rotation.x), mix(a.rotation.y, b.rotation.y),
                              mix(a.rotation.z, b.rotation.z), mix(a.rotation.w, b.rotation.w)});
    return r;
}

double quaternionDot(const Quaternion4d& a, const Quaternion4d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

void alignQuaternionSign(const TrsTransform& previous, TrsTransform& motion) {
    if (quaternionDot(previous.rotation, motion.rotation) < 0.0) {
        motion.rotation = {-motion.rotation.x, -motion.rotation.y, -motion.rotation.z,
                           -motion.rotation.w};
    }
}

}  // namespace vorel
