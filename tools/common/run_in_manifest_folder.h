// runInManifestFolder: the paths in a manifest are relative to where the program runs, so a
// tool that loads a manifest from anywhere runs the load inside the manifest's own folder.
// Only the working directory moves here; loading stays with the project's loaders.
#pragma once

#include <functional>
#include <string>

namespace vorel {

// Runs load with the manifest's folder as the working directory and the manifest's file name
// as its argument, then returns to the caller's working directory. A manifest named without a
// folder is loaded where the caller stands. False, with problem set to one line, when the
// folder cannot be entered (load then does not run) or the caller's directory cannot be
// entered again after it.
bool runInManifestFolder(const std::string& manifestPath,
                         const std::function<void(const std::string& fileName)>& load,
                         std::string& problem);

}  // namespace vorel
