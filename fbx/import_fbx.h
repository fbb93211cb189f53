// importFbx: an FBX character (binary or ASCII 7.x) as a Vorel set in memory: its joints as
// bones, its meshes in the rest pose where the skin was bound, each animation stack as one
// animation, in Vorel's axes and metres, then welded, named, fitted to the view and checked
// as a glTF import is. What Vorel does not show (cameras, lights, materials, textures, blend
// shapes, constraints, embedded media) is skipped with one warning per kind.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "convert/imported_set.h"

namespace vorel {

// False, with error set (naming the file), when the file is not an FBX file the reader
// accepts, has no mesh, or its scene cannot be made into a set.
bool importFbx(const std::string& path, const ImportOptions& options, ImportedSet& result,
               LoadError& error);
bool importFbxBytes(const std::string& bytes, const std::string& path, const ImportOptions& options,
                    ImportedSet& result, LoadError& error);

// The joints and animations alone, in the file's size (not fitted), for following the motion
// of a file that may hold no mesh (an animation handed out without its character).
bool importFbxMotion(const std::string& path, ImportedSet& result, LoadError& error);

}  // namespace vorel
