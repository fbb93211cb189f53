// loadLibraryBesideManifest: loads a manifest from any folder as the viewer would load it
// when started in that folder, since the paths in a manifest are relative to where it runs.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"

namespace vorel {

// Enters the manifest's folder for the load and returns to the working directory after.
// Null, with problem set to one line naming the file (as seen from the caller's working
// directory), when the viewer would refuse the manifest.
std::unique_ptr<AssetLibrary> loadLibraryBesideManifest(const std::string& manifestPath,
                                                        std::string& problem);

}  // namespace vorel
