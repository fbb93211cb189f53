// sameFileAsAny: paths compared as files (device and inode), never as strings, so that
// "set/../set/vorel.txt", a symbolic link or a hard link is caught as surely as the same
// spelling. The tools use it to keep their outputs off their inputs.
#pragma once

#include <string>
#include <vector>

namespace vorel {

// Whether path exists and is the same file as one of files (a missing one matches nothing).
bool sameFileAsAny(const std::string& path, const std::vector<std::string>& files);

}  // namespace vorel
