// loadManifest: reads a manifest (model and animation counts, name/path line pairs) and loads
// every file it names into an AssetLibrary.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/asset_library.h"
#include "assets/load_error.h"

namespace vorel {

// What went wrong while reading a manifest, beside the library that was still returned.
struct ManifestReport {
    // Set when reading stopped early (a count that is not a number, a missing pair, an
    // over-long line): section names the line, message says why. Empty file name otherwise.
    LoadError stoppedEarly;
    bool readStopped = false;
    // One entry per named file that failed to load, in manifest order.
    std::vector<LoadError> failedFiles;
};

// Null only when the manifest cannot be opened (error, when given, then says so).
std::unique_ptr<AssetLibrary> loadManifest(const std::string& path,
                                           ManifestReport* report = nullptr);

}  // namespace vorel
