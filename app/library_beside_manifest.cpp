// loadLibraryBesideManifest: loadStartupLibrary run from the manifest's own folder.
#include "app/library_beside_manifest.h"

#include <filesystem>

#include "app/run_in_manifest_folder.h"
#include "app/startup_library.h"

namespace vorel {

std::unique_ptr<AssetLibrary> loadLibraryBesideManifest(const std::string& manifestPath,
                                                        std::string& problem) {
    std::unique_ptr<AssetLibrary> loaded;
    const auto load = [&](const std::string& fileName) {
        loaded = loadStartupLibrary(fileName, problem);
    };
    if (!runInManifestFolder(manifestPath, load, problem)) {
        return nullptr;
    }
    // Messages name files as the loaders saw them; a relative name is relative to the folder.
    if (!problem.empty() && problem.front() != '/') {
        problem = (std::filesystem::path(manifestPath).parent_path() / problem).string();
    }
    return loaded;
}

}  // namespace vorel
