// ImportedAnimation: one animation an importer made, with its name in the source file, and the
// options every importer's animation step takes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "assets/animation_data.h"

namespace vorel {

struct AnimationImportOptions {
    // Source seconds per unit of the animation clock.
    double speed = 1.0;
    // Largest translation error allowed between keys, in model units.
    double lengthTolerance = 1e-4;
    // Largest rotation error allowed between keys, in degrees.
    double angleTolerance = 0.05;
};

struct ImportedAnimation {
    // The name in the source file (a glTF animation without one is "animationN").
    std::string name;
    std::unique_ptr<AnimationData> data;
    // Distinct key times after resampling.
    std::size_t keyTimes = 0;
};

}  // namespace vorel
