// pathBesideManifest: the files a manifest names are relative to the manifest's own folder;
// this names them as seen from wherever the manifest itself was named.
#pragma once

#include <string>

namespace vorel {

// An absolute or empty path, or one beside a manifest named without a folder, comes back as
// it is; any other is joined to the manifest's folder and normalised ("a/./b" is "a/b").
std::string pathBesideManifest(const std::string& manifestPath, const std::string& entryPath);

}  // namespace vorel
