// checkOutputFolder: the folder's entries compared, as files, with what its manifest names.
#include "tools/common/output_folder.h"

#include <filesystem>
#include <vector>

#include "dancer/default_set.h"
#include "tools/common/manifest_files.h"
#include "tools/common/same_file.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

bool isFolder(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(fs::symlink_status(path, ignored));
}

bool namedBySet(const fs::path& entry, const std::vector<std::string>& setFiles) {
    std::error_code ignored;
    return fs::is_regular_file(fs::symlink_status(entry, ignored)) &&
           sameFileAsAny(entry.string(), setFiles);
}

// Every entry of the set's folder is a plain file its manifest names; otherwise the first
// that is not.
bool onlySetFiles(const fs::path& folder, std::string& problem) {
    ManifestFiles manifest;
    if (!manifestFiles((folder / ManifestFileName).string(), manifest, problem)) return false;
    const std::vector<std::string> setFiles = manifest.all();
    std::error_code failure;
    for (fs::directory_iterator entry(folder, failure), end; !failure && entry != end;
         entry.increment(failure)) {
        if (!namedBySet(entry->path(), setFiles)) {
            problem = "holds '" + entry->path().filename().string() +
                      "', which is not a file of its set; nothing replaced";
            return false;
        }
    }
    if (failure) problem = "cannot list it: " + failure.message();
    return !failure;
}

}  // namespace

bool holdsSet(const std::string& folder) {
    std::error_code ignored;
    return isFolder(folder) && fs::is_regular_file(fs::path(folder) / ManifestFileName, ignored);
}

bool checkOutputFolder(const std::string& folder, bool replace, std::string& problem) {
    std::error_code failure;
    const fs::file_status status = fs::symlink_status(folder, failure);
    if (!fs::exists(status)) return true;
    if (!fs::is_directory(status)) {
        problem = "exists and is not a folder; nothing replaced";
        return false;
    }
    if (fs::is_empty(folder, failure) && !failure) return true;
    if (!holdsSet(folder)) {
        problem = "is not empty and holds no Vorel set; nothing replaced";
        return false;
    }
    if (!replace) {
        problem = "already holds a Vorel set; give --replace to replace it";
        return false;
    }
    return onlySetFiles(folder, problem);
}

}  // namespace vorel
