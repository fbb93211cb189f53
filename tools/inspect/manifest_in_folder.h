// Loading a manifest as the viewer does when started in the manifest's folder, so that a
// manifest can be inspected from anywhere. Not a second manifest reader: these only move the
// working directory around the project's own loaders.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"
#include "assets/load_manifest.h"

namespace vorel {

// loadManifest inside the manifest's folder. The report's file names and entry paths are
// rewritten as seen from the caller's working directory. Null when the manifest cannot be opened;
// the report's stoppedEarly then says why.
std::unique_ptr<AssetLibrary> loadManifestInItsFolder(const std::string& path,
                                                      ManifestReport& report);

}  // namespace vorel
