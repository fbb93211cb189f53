// readFbxScene: the objects of an FBX 7.x node tree linked by its connections into an
// FbxScene. Every number Vorel uses is checked finite, every array against the others it must
// match, every connection against the objects it names, and the model tree against cycles.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "fbx/fbx_node.h"
#include "fbx/fbx_scene.h"

namespace vorel {

// False, with error set (its file `path`), for a file whose scene cannot be read. The large
// arrays are moved out of the document into the scene.
bool readFbxScene(FbxDocument& document, const std::string& path, FbxScene& scene,
                  LoadError& error);

// The file at `path` read whole, as its node tree and its scene.
bool readFbxSceneFile(const std::string& path, FbxDocument& document, FbxScene& scene,
                      LoadError& error);

}  // namespace vorel
