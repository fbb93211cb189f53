// sourceFromImported: one animation of a character imported unfitted (glTF, FBX) as a
// SourceMotion: the animation posed the way the viewer poses it, so the joints move exactly as
// an imported set would show them, with an end point past every bone without children.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "convert/imported_set.h"
#include "retarget/source_motion.h"

namespace vorel {

// Imported animations are curves, not frames: they are sampled at this rate.
constexpr double ImportedSourceFrameTime = 1.0 / 30.0;

// False, with error set (its section `section`), when the set has no joints, no animation of
// that name (an empty name: no animation at all), or more frames than a retarget holds.
bool sourceFromImported(const ImportedSet& imported, const std::string& animationName,
                        const std::string& section, SourceMotion& motion, LoadError& error);

}  // namespace vorel
