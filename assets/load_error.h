// LoadError: why a file failed to load. Loaders return null and, when the caller passes one
// of these, fill it in; only the edge of a program (the viewer's start-up, a tool) prints it.
#pragma once

#include <cstdint>
#include <string>

namespace vorel {

struct LoadError {
    // The path of the file that failed, as given to the loader.
    std::string file;
    // The part of the file being read ("header", "faces", "bone", "line 3", ...).
    std::string section;
    // Byte offset in the file where the failing read or check began; -1 when there is none
    // (the file could not be opened, or the failure concerns a manifest line).
    std::int64_t offset = -1;
    // What is wrong, in a few words ("version is 3, expected 2").
    std::string message;

    // One line: "FILE: offset N: SECTION: MESSAGE", without the offset part when there is none,
    // shown through printableName.
    std::string describe() const;
};

// Fills in a failure without a byte offset and returns false, so that a loader can end with
// `return fail(error, section, message);`.
bool fail(LoadError& error, const std::string& section, const std::string& message);

}  // namespace vorel
