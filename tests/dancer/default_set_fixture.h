// The default set, written once per test run into a temporary folder by the same code as
// vorel-make-dancer, and loaded through the real manifest loader.
#pragma once

#include <memory>
#include <string>

#include "assets/asset_library.h"
#include "assets/load_manifest.h"

namespace vorel {

struct LoadedDefaultSet {
    std::string folder;
    std::unique_ptr<AssetLibrary> library;
    ManifestReport report;
};

// A fresh temporary folder for this test run, under the system's temporary directory.
std::string makeScratchFolder(const std::string& name);
// Written and loaded on first use; the folder is left for inspection when a test fails.
const LoadedDefaultSet& defaultSet();
// The default set's one model, the dancer.
const ModelData& defaultDancer();

}  // namespace vorel
