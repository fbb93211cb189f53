// sourceFromFbx: one animation stack of an FBX file as a SourceMotion, through the FBX
// importer unfitted, so a file that holds only a skeleton and its motion serves too.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "retarget/source_motion.h"

namespace vorel {

// False, with error set, when the file does not import, has no joints or no stack of that
// name; an empty name follows the first stack.
bool sourceFromFbx(const std::string& path, const std::string& animationName, SourceMotion& motion,
                   LoadError& error);

}  // namespace vorel
