// writeDefaultSet: writes the dancer, its seven dances and the manifest naming them into a
// folder. The output depends on nothing but this code, so it is the same bytes every run.
#pragma once

#include <string>

namespace vorel {

// The manifest's file name, which the viewer reads from its working directory.
extern const char* const ManifestFileName;

// False, with error set, when something could not be built or written.
bool writeDefaultSet(const std::string& folder, std::string& error);

}  // namespace vorel
