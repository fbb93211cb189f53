// Whole-file reading (size-checked, regular files only) and writing for the asset files.
#include "assets/file_bytes.h"

#include <fcntl.h>
#include <unistd.h>

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

// Creates, empty and exclusively, a file beside `path` whose name no file holds yet (so a
// user's own "PATH.partial" is never written over); its descriptor, or -1 with errno set.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
    static unsigned made = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(made++);
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// False, with errno set, when not every byte could be written.
bool writeAll(int descriptor, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t step = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) {
            if (step == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(step);
    }
    return true;
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
    std::string temporary;
    const int descriptor = createTemporaryBeside(path, temporary);
    std::error_code failure;
    if (descriptor < 0) {
        failure = std::error_code(errno, std::generic_category());
    } else {
        const bool written = writeAll(descriptor, bytes);
        const int writeError = errno;
        if (::close(descriptor) != 0 || !written) {
            failure = std::error_code(written ? errno : writeError, std::generic_category());
        }
        if (!failure) std::filesystem::rename(temporary, path, failure);
    }
    if (!failure) return true;
    if (reason != nullptr) *reason = failure.message();
    std::error_code ignored;
    if (descriptor >= 0) std::filesystem::remove(temporary, ignored);
    return false;
}

}  // namespace vorel
