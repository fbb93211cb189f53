// saveModel / encodeModel: write a ModelData in the binary model format. Only what the file
// holds is written (header, materials, named records, positions, normals, faces with layers,
// the bone tree with names, head/tail/up points and vertex lists); the loader derives the
// rest (normal lists, name hashes, rest matrices, the name map). Each v is written back as
// 1.0 - v, so loading what was saved gives the same records.
#pragma once

#include <string>

#include "assets/model_data.h"

namespace vorel {

std::string encodeModel(const ModelData& model);
// False when the file cannot be written completely.
bool saveModel(const ModelData& model, const std::string& path);

}  // namespace vorel
