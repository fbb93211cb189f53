// manifestFiles: the manifest read as the viewer reads it, from its own folder, keeping the
// paths its report lists.
#include "tools/common/manifest_files.h"

#include "assets/load_manifest.h"
#include "tools/common/path_beside_manifest.h"
#include "tools/common/run_in_manifest_folder.h"

namespace vorel {

std::vector<std::string> ManifestFiles::all() const {
    std::vector<std::string> files = {manifest};
    files.insert(files.end(), models.begin(), models.end());
    files.insert(files.end(), animations.begin(), animations.end());
    return files;
}

bool manifestFiles(const std::string& manifestPath, ManifestFiles& files, std::string& problem) {
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
    files.manifest = manifestPath;
    const auto beside = [&manifestPath](const std::vector<std::string>& paths) {
        std::vector<std::string> joined;
        for (const std::string& path : paths)
            joined.push_back(pathBesideManifest(manifestPath, path));
        return joined;
    };
    files.models = beside(report.modelPaths);
    files.animations = beside(report.animationPaths);
    return true;
}

}  // namespace vorel
