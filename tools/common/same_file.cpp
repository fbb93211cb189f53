// sameFileAsAny: std::filesystem::equivalent compares device and inode.
#include "tools/common/same_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vorel {

bool sameFileAsAny(const std::string& path, const std::vector<std::string>& files) {
    return std::any_of(files.begin(), files.end(), [&path](const std::string& file) {
        std::error_code absent;
        return std::filesystem::equivalent(path, file, absent);
    });
}

}  // namespace vorel
