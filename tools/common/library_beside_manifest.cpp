// loadLibraryBesideManifest: loadStartupLibrary run from the manifest's own folder.
#include "tools/common/library_beside_manifest.h"

#include "app/startup_library.h"
#include "tools/common/path_beside_manifest.h"
#include "tools/common/run_in_manifest_folder.h"

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
    // The problem line starts with the file as the loaders saw it, inside the manifest's folder.
    problem = pathBesideManifest(manifestPath, problem);
    return loaded;
}

}  // namespace vorel
