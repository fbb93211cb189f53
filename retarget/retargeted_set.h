// setWithAnimation: the set a retarget writes: the target's model and every animation it
// names, plus the new one under its name. A name the target already uses (a viewer key's
// dance name among them) now plays the new animation instead.
#pragma once

#include <string>

#include "assets/asset_library.h"
#include "assets/write_set.h"

namespace vorel {

// Refers into `target` and `added`, which must outlive the result. The target's first model
// is the set's model.
SetToWrite setWithAnimation(const AssetLibrary& target, const AnimationData& added,
                            const std::string& name);

}  // namespace vorel
