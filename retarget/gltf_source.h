// sourceFromGltf: one animation of a glTF character as a SourceMotion. The file goes through
// the importer (skeleton, animation sampling) unfitted, and the imported animation is posed
// the way the viewer poses it, so the joints move exactly as an imported set would show them.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "retarget/source_motion.h"

namespace vorel {

// False, with error set, when the file does not import, has no skin or no animation of
// that name.
bool sourceFromGltf(const std::string& path, const std::string& animationName, SourceMotion& motion,
                    LoadError& error);

}  // namespace vorel
