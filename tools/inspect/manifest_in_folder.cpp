// Loads a manifest with its folder as the working directory, then restores the old one.
#include "tools/inspect/manifest_in_folder.h"

#include <filesystem>

#include "app/run_in_manifest_folder.h"

namespace vorel {

namespace {

namespace fs = std::filesystem;

// A path the manifest gave relative to its folder, as seen from the caller's directory.
std::string fromCaller(const fs::path& folder, const std::string& file) {
    if (folder.empty() || file.empty() || fs::path(file).is_absolute()) return file;
    return (folder / file).lexically_normal().string();
}

void rewriteFileNames(const std::string& manifestPath, ManifestReport& report) {
    const fs::path folder = fs::path(manifestPath).parent_path();
    if (!report.stoppedEarly.file.empty()) report.stoppedEarly.file = manifestPath;
    for (LoadError& error : report.failedFiles) error.file = fromCaller(folder, error.file);
    for (std::string& path : report.modelPaths) path = fromCaller(folder, path);
    for (std::string& path : report.animationPaths) path = fromCaller(folder, path);
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
