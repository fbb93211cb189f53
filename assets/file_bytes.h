// readFileBytes / writeFileBytes: a whole file in one go, so that loaders parse from memory
// and writers never leave a half-written file unreported.
#pragma once

#include <cstdint>
#include <string>

#include "assets/load_error.h"

namespace vorel {

// Larger asset files are refused before anything is allocated for them.
constexpr std::uint64_t MaxAssetFileBytes = std::uint64_t{1} << 30;

// False (and error filled, section "open") when the path is not a readable regular file of at
// most MaxAssetFileBytes bytes, or when fewer bytes arrive than its size announced.
bool readFileBytes(const std::string& path, std::string& bytes, LoadError* error);
// False when the file cannot be created or not every byte is written; the file at path is then
// as it was before (absent or the old content), never partly written, and reason (when given)
// holds the system's word for why ("Permission denied").
bool writeFileBytes(const std::string& path, const std::string& bytes,
                    std::string* reason = nullptr);

}  // namespace vorel
