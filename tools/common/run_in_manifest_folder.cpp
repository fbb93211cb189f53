// runInManifestFolder: enter the folder, load, go back, with every step's failure reported.
#include "tools/common/run_in_manifest_folder.h"

#include <filesystem>
#include <system_error>

namespace vorel {

bool runInManifestFolder(const std::string& manifestPath,
                         const std::function<void(const std::string& fileName)>& load,
                         std::string& problem) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(manifestPath).parent_path();
    if (folder.empty()) {
        load(manifestPath);
        return true;
    }
    std::error_code error;
    const fs::path callerFolder = fs::current_path(error);
    if (!error) {
        fs::current_path(folder, error);
    }
    if (error) {
        problem = manifestPath + ": cannot enter its folder: " + error.message();
        return false;
    }
    load(fs::path(manifestPath).filename().string());
    fs::current_path(callerFolder, error);
    if (error) {
        problem = callerFolder.string() + ": cannot return to it: " + error.message();
        return false;
    }
    return true;
}

}  // namespace vorel
