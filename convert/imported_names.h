// The names an import gives its model and animations in the set it writes: the model after the
// file, the animations made unique and unlike the viewer's key names, and fit for a manifest.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "convert/imported_set.h"

namespace vorel {

// The file name without folder and extension ("model" when that is empty), on one line.
std::string modelNameForPath(const std::string& path);

// The animations keys 1 to 7 play: options.keys by their names in the source, or the first
// seven. False, with error set (its section `section`), for a key naming no animation. Call
// before nameAnimations renames them.
bool chooseKeyAnimations(const ImportOptions& options, const std::string& section,
                         ImportedSet& result, LoadError& error);

// Renames animations that clash with one another or with a key name, or that a manifest line
// could not hold; each change is reported in result.warnings.
void nameAnimations(ImportedSet& result);

}  // namespace vorel
