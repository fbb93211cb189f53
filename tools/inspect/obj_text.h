// objText: a posed mesh as Wavefront OBJ text, so a frame can be opened in any 3-D tool and
// compared vertex by vertex with another program's skinning.
#pragma once

#include <string>

#include "skeleton/model_instance.h"

namespace vorel {

// One `v` per skinned position and one `vn` per skinned normal, in the model's order (OBJ
// vertex k is position k-1), then one quad `f p//n p//n p//n p//n` per face; %.9g throughout.
std::string objText(const ModelInstance& instance);

}  // namespace vorel
