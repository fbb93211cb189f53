// loadStartupLibrary: loads the manifest and refuses a library the figure cannot be built
// from, with a one-line reason for the edge of the program to print.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"

namespace vorel {

// Null, with problem set to one line that names the file and says what is wrong, when the
// manifest cannot be opened, its reading stopped early, a file it names failed to load, or it
// names no model. Otherwise the library, and problem is left empty.
std::unique_ptr<AssetLibrary> loadStartupLibrary(const std::string& manifestPath,
                                                 std::string& problem);

}  // namespace vorel
