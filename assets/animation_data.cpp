// AnimationData: its destructor is the class's one virtual operation.
#include "assets/animation_data.h"

namespace vorel {

AnimationData::~AnimationData() = default;

}  // namespace vorel
