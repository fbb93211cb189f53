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
    // Set when the manifest could not be opened (loadManifest then returns null; section
    // "open") or when reading stopped early: a count that is not a number, a file that ends
    // before the pairs its counts announce, a line longer than 511 characters. Section then
    // names the line ("line 4"), message says why, and offset is -1. The entries read before
    // the stop stay in the library, paired.
    LoadError stoppedEarly;
    bool readStopped = false;
    // One entry per named file that failed to load, in manifest order.
    std::vector<LoadError> failedFiles;
    // The path each entry names, as written, whether its file loaded or not: paired with the
    // library's arrays, so models[i] was loaded from modelPaths[i]. Like failedFiles, these
    // are appended to, so a report meant to pair with one library starts empty.
    std::vector<std::string> modelPaths;
    std::vector<std::string> animationPaths;
};

// Null only when the manifest cannot be opened (report, when given, then says why). Model and
// animation paths are opened relative to the working directory, as written.
std::unique_ptr<AssetLibrary> loadManifest(const std::string& path,
                                           ManifestReport* report = nullptr);
// The same from the manifest's text already in memory; fileName only labels the report.
// Always returns a library.
std::unique_ptr<AssetLibrary> loadManifestFromText(const std::string& text,
                                                   const std::string& fileName,
                                                   ManifestReport* report = nullptr);

}  // namespace vorel
