// manifestFiles: every file a manifest makes a program read (the manifest itself, its models
// and its animations), named as seen from where the manifest was named, so a tool can tell
// whether a path it is about to write is one of its own inputs.
#pragma once

#include <string>
#include <vector>

namespace vorel {

struct ManifestFiles {
    std::string manifest;
    // Paired with the library's models and animations, in manifest order.
    std::vector<std::string> models;
    std::vector<std::string> animations;

    // The manifest, then every model and animation path.
    std::vector<std::string> all() const;
};

// Each path joined to the manifest's folder; a file that does not load is listed too. False,
// with problem set to one line, when the manifest cannot be opened or its folder entered.
bool manifestFiles(const std::string& manifestPath, ManifestFiles& files, std::string& problem);

}  // namespace vorel
