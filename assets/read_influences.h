// readInfluences: the weighted-vertex section that follows the bones in a version-3 model file.
#pragma once

#include "assets/byte_reader.h"
#include "assets/model_data.h"

namespace vorel {

// Fills model.weightedVertices, each checked and normalised; the positions and the bone tree
// must already be read. A vertex may be weighted once and never also be listed under a bone.
bool readInfluences(ByteReader& reader, ModelData& model);

}  // namespace vorel
