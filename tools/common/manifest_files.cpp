// manifestFiles: the manifest read as the viewer reads it, from its own folder, keeping the
// paths its report lists.
#include "tools/common/manifest_files.h"

#include "assets/load_manifest.h"
#include "tools/common/path_beside_manifest.h"
#include "tools/common/run_in_manifest_folder.h"

namespace vorel {

bool manifestFiles(const std::string& manifestPath, std::vector<std::string>& files,
                   std::string& problem) {
    ManifestReport report;
    bool opened = false;
    const auto read = [&](const std::string& fileName) {
        opened = loadManifest(fileName, &report) != nullptr;
    };
    if (!runInManifestFolder(manifestPath, read, problem)) return false;
    if (!opened) {
        problem = pathBesideManifest(manifestPath, report.stoppedEarly.describe());
        return false;
    }
    files = {manifestPath};
    for (const auto* paths : {&report.modelPaths, &report.animationPaths}) {
        for (const std::string& path : *paths)
            files.push_back(pathBesideManifest(manifestPath, path));
    }
    return true;
}

}  // namespace vorel
