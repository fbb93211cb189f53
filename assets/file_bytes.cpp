// Whole-file reading (size-checked, regular files only) and writing for the asset files.
#include "assets/file_bytes.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vorel {

namespace {

bool failOpen(const std::string& path, const std::string& message, LoadError* error) {
    if (error != nullptr) *error = LoadError{path, "open", -1, message};
    return false;
}

}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes, LoadError* error) {
    std::error_code code;
    // NOTE: a directory or a device opens without complaint but has no meaningful size, and a
    // device like /dev/zero never ends; only regular files are read.
    const auto status = std::filesystem::status(path, code);
    if (code) return failOpen(path, "cannot be opened: " + code.message(), error);
    if (!std::filesystem::is_regular_file(status)) {
        return failOpen(path, "cannot be opened: not a regular file", error);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return failOpen(path, "cannot be opened", error);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return failOpen(path, "cannot be opened: size unknown", error);
    if (static_cast<std::uint64_t>(size) > MaxAssetFileBytes) {
        return failOpen(path,
                        "file of " + std::to_string(size) + " bytes is larger than the " +
                            std::to_string(MaxAssetFileBytes) + "-byte limit",
                        error);
    }
    bytes.assign(static_cast<std::size_t>(size), '\0');
    in.seekg(0, std::ios::beg);
    in.read(bytes.data(), size);
    if (in.gcount() != size) return failOpen(path, "read fewer bytes than its size", error);
    return true;
}

bool writeFileBytes(const std::string& path, const std::string& bytes, std::string* reason) {
    // NOTE: the bytes go to a temporary file beside the target, renamed over it only once all
    // of them are written, so a full disk or a killed writer leaves the old file (or none)
    // rather than a truncated one that a loader would then reject.
    const std::string temporary = path + ".partial";
    std::error_code failure;
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
        }
        if (!out) failure = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    }
    if (!failure) std::filesystem::rename(temporary, path, failure);
    if (!failure) return true;
    if (reason != nullptr) *reason = failure.message();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
}

}  // namespace vorel
