// ImportedAnimation: one animation an importer made, with its name in the source file, and the
// options every importer's animation step takes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "assets/animation_data.h"
#include "convert/key_tolerances.h"

namespace vorel {

struct AnimationImportOptions {
    // Source seconds per unit of the animation clock.
    double speed = 1.0;
    // How closely the samples follow the source (importTolerances for the figure's height).
    KeyTolerances tolerances;
    // Per bone, in pre-order, how closely its kept keys follow the samples
    // (chainTolerances); empty: only keys the others give back exactly are dropped.
    std::vector<KeyTolerances> boneTolerances;
};

struct ImportedAnimation {
    // The name in the source file (a glTF animation without one is "animationN").
    std::string name;
    std::unique_ptr<AnimationData> data;
    // Distinct times its tracks' keys fall on.
    std::size_t keyTimes = 0;
};

}  // namespace vorel
