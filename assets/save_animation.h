// saveAnimation / encodeAnimation: write an AnimationData in the binary animation format.
// A key whose flags have bit 0 clear is written with its tangents (25 bytes), otherwise
// without (9 bytes). The loader recomputes tangents, so only those it keeps survive.
#pragma once

#include <string>

#include "assets/animation_data.h"

namespace vorel {

std::string encodeAnimation(const AnimationData& animation);
bool saveAnimation(const AnimationData& animation, const std::string& path);

}  // namespace vorel
