// Loading a manifest as the viewer does when started in the manifest's folder, so that a
// manifest can be inspected from anywhere. Not a second manifest reader: these only move the
// working directory around the project's own loaders.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "assets/asset_library.h"
#include "assets/load_manifest.h"

namespace vorel {

// Runs load with the manifest's folder as the working directory and the manifest's file name
// as its argument, then restores the working directory. False, with problem set, when the
// folder cannot be entered.
bool runInManifestFolder(const std::string& manifestPath,
                         const std::function<void(const std::string& fileName)>& load,
                         std::string& problem);

// loadManifest inside the manifest's folder. The report's file names are rewritten as seen
// from the caller's working directory. Null when the manifest cannot be opened; the report's
// stoppedEarly then says why.
std::unique_ptr<AssetLibrary> loadManifestInItsFolder(const std::string& path,
                                                      ManifestReport& report);

}  // namespace vorel
