// loadGltfDocument: reads a .glb or .gltf file (with its external buffers and data URIs) into
// tinygltf's in-memory model. Images are never decoded nor read: textures play no part in a
// Vorel model. What tinygltf leaves unchecked (accessor ranges, indices) is checked by
// gltf_accessor.h and by the importers, not here.
#pragma once

#include <tiny_gltf.h>

#include <string>

#include "assets/load_error.h"

namespace vorel {

// False, with error filled ("FILE: offset N: SECTION: what"), when the file cannot be read
// or tinygltf rejects it. `warnings` receives tinygltf's own warnings, one per line.
bool loadGltfDocument(const std::string& path, tinygltf::Model& model, std::string& warnings,
                      LoadError& error);

// The same from bytes already in memory; external buffers are looked for in `baseFolder`
// (an empty folder means none may be read: data URIs and the GLB chunk only).
bool parseGltfDocument(const std::string& bytes, const std::string& baseFolder,
                       const std::string& path, tinygltf::Model& model, std::string& warnings,
                       LoadError& error);

}  // namespace vorel
