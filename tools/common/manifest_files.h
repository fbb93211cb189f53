// manifestFiles: every file a manifest makes a program read (the manifest itself, its models
// and its animations), named as seen from where the manifest was named, so a tool can tell
// whether a path it is about to write is one of its own inputs.
#pragma once

#include <string>
#include <vector>

namespace vorel {

// The manifest first, then each model and animation path it names (even a file that does not
// load), joined to the manifest's folder. False, with problem set to one line, when the
// manifest cannot be opened or its folder entered.
bool manifestFiles(const std::string& manifestPath, std::vector<std::string>& files,
                   std::string& problem);

}  // namespace vorel
