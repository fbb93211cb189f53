// RecordedMotion: what a figure's bones did over a run of the viewer's frames, as the blended
// transforms the runtime produced for each, frame by frame: the exporter's animation input.
// Recording is record_motion.h; turning it into glTF channels is gltf_export.h.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "skeleton/bone_transform.h"

namespace vorel {

struct RecordedMotion {
    std::string name;
    // One time per recorded frame, in glTF seconds, strictly ascending.
    std::vector<float> keyTimes;
    // Frame-major: transforms[frame * boneCount + bone], the bones in the model's pre-order walk.
    std::vector<BoneTransform> transforms;
    // Keys may be dropped where that changes no sampled value; false keeps one key per frame.
    bool mayDropKeys = true;
    // False when no track of the animation names a bone of the model (nothing moves).
    bool namesBone = true;
};

}  // namespace vorel
