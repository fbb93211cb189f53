// saveManifest / encodeManifest: write a manifest listing models and animations by name.
#pragma once

#include <string>
#include <vector>

namespace vorel {

struct ManifestEntry {
    std::string name;
    std::string path;
};

std::string encodeManifest(const std::vector<ManifestEntry>& models,
                           const std::vector<ManifestEntry>& animations);
bool saveManifest(const std::string& path, const std::vector<ManifestEntry>& models,
                  const std::vector<ManifestEntry>& animations);

}  // namespace vorel
