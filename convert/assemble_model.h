// assembleModel: one Vorel model from an imported skeleton and mesh, whatever format they came
// from (glTF, BVH): a plain grey material, the normals listed under their positions, the bone
// tree with each bone's vertices and the bones' names.
#pragma once

#include <memory>

#include "assets/model_data.h"
#include "convert/imported_mesh.h"
#include "convert/imported_skeleton.h"

namespace vorel {

// Moves the mesh's lists into the model. A skeleton without bones gives one static bone the
// size of the mesh.
std::unique_ptr<ModelData> assembleModel(const ImportedSkeleton& skeleton, ImportedMesh& mesh);

// The height of the model's positions in y; 1 for a model without height.
double modelHeight(const ModelData& model);

}  // namespace vorel
