// readBoneTree: the bone section of a model file, read in pre-order without recursion, each
// bone given its rest matrices and its name entered in the model's name map.
#pragma once

#include <cstdint>

#include "assets/bone_data.h"
#include "assets/byte_reader.h"
#include "assets/model_data.h"

namespace vorel {

// Fills model.rootBone and model.boneNames; bone vertex indices must lie in
// [0, positionCount). On failure the partial tree stays attached to the model.
bool readBoneTree(ByteReader& reader, std::int32_t positionCount, ModelData& model);

// restMatrix from head, tail and up; returnMatrix as its rigid inverse.
void setRestMatrices(BoneData& bone);

}  // namespace vorel
