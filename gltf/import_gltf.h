// importGltf: a whole glTF 2.0 file as one Vorel model and its animations, in memory
// (convert/imported_set.h). The steps live in their own files: reading (gltf_document), the
// node tree (gltf_scene_graph), skeleton, mesh, animations, and the fit to the view.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "convert/imported_set.h"

namespace vorel {

// False, with error set, when the file cannot be imported; `--keys` naming an animation the
// file lacks is such an error too.
bool importGltf(const std::string& path, const ImportOptions& options, ImportedSet& result,
                LoadError& error);
// The same from bytes in memory (no external buffers are read), for fuzzing and tests.
bool importGltfBytes(const std::string& bytes, const std::string& path,
                     const ImportOptions& options, ImportedSet& result, LoadError& error);
}  // namespace vorel
