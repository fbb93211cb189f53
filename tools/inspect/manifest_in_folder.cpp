// Loads a manifest with its folder as the working directory, then restores the old one.
#include "tools/inspect/manifest_in_folder.h"

#include "tools/common/path_beside_manifest.h"
#include "tools/common/run_in_manifest_folder.h"

namespace vorel {

namespace {

void rewriteFileNames(const std::string& manifestPath, ManifestReport& report) {
    if (!report.stoppedEarly.file.empty()) report.stoppedEarly.file = manifestPath;
    for (LoadError& error : report.failedFiles) {
        error.file = pathBesideManifest(manifestPath, error.file);
    }
    for (std::string& path : report.modelPaths) path = pathBesideManifest(manifestPath, path);
    for (std::string& path : report.animationPaths) path = pathBesideManifest(manifestPath, path);
}

}  // namespace

std::unique_ptr<AssetLibrary> loadManifestInItsFolder(const std::string& path,
                                                      ManifestReport& report) {
    std::unique_ptr<AssetLibrary> library;
    std::string problem;
    const bool ran = runInManifestFolder(
        path, [&](const std::string& fileName) { library = loadManifest(fileName, &report); },
        problem);
    rewriteFileNames(path, report);
    if (library == nullptr && (!ran || report.stoppedEarly.message.empty())) {
        report.stoppedEarly = LoadError{path, "open", -1, "cannot be opened"};
    }
    return library;
}

}  // namespace vorel
