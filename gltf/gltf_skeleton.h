// importSkeleton: the joints of the skins used in the imported scene as one Vorel bone tree.
// Several skins over the same joints give one skeleton; a joint's skeletal parent is its
// nearest joint ancestor, non-joint nodes between them folding into the transforms.
#pragma once

#include <tiny_gltf.h>

#include <string>
#include <vector>

#include "assets/load_error.h"
#include "convert/imported_skeleton.h"
#include "gltf/gltf_scene_graph.h"

namespace vorel {

// False, with error set, for a skin without joints, a joint index out of range, a joint
// listed twice in one skin, an inverse bind matrix accessor that is short or singular.
// Warnings (renamed joints) are appended.
bool importSkeleton(const tinygltf::Model& model, const GltfSceneGraph& graph,
                    ImportedSkeleton& skeleton, std::vector<std::string>& warnings,
                    LoadError& error);

}  // namespace vorel
