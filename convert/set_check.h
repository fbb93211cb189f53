// checkSetValues: what an import or a retarget made, checked before anything is written: every
// value finite, and no more tracks or keys than an animation file can count. An input whose
// numbers overflow a float on the way, or whose motion needs more keys than a file holds, is
// refused with one line naming it.
#pragma once

#include <cstddef>
#include <string>

#include "assets/animation_data.h"
#include "assets/load_error.h"
#include "assets/write_set.h"

namespace vorel {

// An animation file counts its tracks and each channel's keys in 16 bits.
constexpr std::size_t MaxTracksOrKeys = 65535;

// False, with error naming `input`, when `animation` (listed as `name`) holds a value that is
// not finite or more tracks or keys in one channel than a file holds.
bool checkAnimationValues(const AnimationData& animation, const std::string& name,
                          const std::string& input, LoadError& error);
// The same for the model and every animation of a set.
bool checkSetValues(const SetToWrite& set, const std::string& input, LoadError& error);

}  // namespace vorel
