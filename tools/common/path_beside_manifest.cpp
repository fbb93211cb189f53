// pathBesideManifest: one join of a manifest's folder and a path it names.
#include "tools/common/path_beside_manifest.h"

#include <filesystem>

namespace vorel {

std::string pathBesideManifest(const std::string& manifestPath, const std::string& entryPath) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(manifestPath).parent_path();
    if (folder.empty() || entryPath.empty() || fs::path(entryPath).is_absolute()) {
        return entryPath;
    }
    return (folder / entryPath).lexically_normal().string();
}

}  // namespace vorel
