// loadLibraryBesideManifest: loadStartupLibrary run from the manifest's own folder.
#include "tools/render/library_beside_manifest.h"

#include <filesystem>
#include <system_error>

#include "app/startup_library.h"

namespace vorel {

std::unique_ptr<AssetLibrary> loadLibraryBesideManifest(const std::string& manifestPath,
                                                        std::string& problem) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(manifestPath).parent_path();
    if (folder.empty()) {
        return loadStartupLibrary(manifestPath, problem);
    }
    std::error_code error;
    const fs::path workingDirectory = fs::current_path(error);
    if (!error) {
        fs::current_path(folder, error);
    }
    if (error) {
        problem = manifestPath + ": cannot enter its folder: " + error.message();
        return nullptr;
    }
    std::unique_ptr<AssetLibrary> loaded =
        loadStartupLibrary(fs::path(manifestPath).filename().string(), problem);
    fs::current_path(workingDirectory, error);
    if (error) {
        problem = workingDirectory.string() + ": cannot return to it: " + error.message();
        return nullptr;
    }
    // Messages name files as the loaders saw them; a relative name is relative to the folder.
    if (!problem.empty() && problem.front() != '/') {
        problem = (folder / problem).string();
    }
    return loaded;
}

}  // namespace vorel
