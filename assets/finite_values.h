// nonFiniteValue: where a model or an animation holds a number that is not finite. The file
// formats can store infinities and NaNs; the tools that write sets refuse them and
// vorel-inspect check reports them.
#pragma once

#include <string>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel {

// "position 12", "normal 3", "bone 'hip' rest matrix", ...: the first value that is not
// finite, or an empty string when every value is.
std::string nonFiniteValue(const ModelData& model);
// "duration", "track 'hip' channel 3 key 7", ...; empty when every value is finite.
std::string nonFiniteValue(const AnimationData& animation);

}  // namespace vorel
