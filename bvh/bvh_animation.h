// buildBvhAnimation: a BVH capture as one Vorel animation of its figure (bvh_figure.h). Every
// frame is a sample; the key reducer (convert/key_reducer.h) keeps only the keys Vorel's
// interpolation needs. Bones are worked one at a time, so the memory needed beyond the
// motion itself is one bone's samples and the keys kept.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "bvh/bvh_figure.h"
#include "bvh/bvh_motion.h"
#include "convert/imported_animation.h"

namespace vorel {

// The options are every importer's: capture seconds per clock unit, the length tolerance in
// the file's units, the angle tolerance in degrees.
// False, with error set, when the motion needs more keys on one channel than an animation
// file holds, or when frames too short for the clock's float times would share one time.
bool buildBvhAnimation(const BvhMotion& motion, const BvhFigure& figure,
                       const AnimationImportOptions& options, ImportedAnimation& animation,
                       LoadError& error);

}  // namespace vorel
