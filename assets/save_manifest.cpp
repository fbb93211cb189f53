// encodeManifest / saveManifest: counts and name/path line pairs, models first.
#include "assets/save_manifest.h"

#include "assets/file_bytes.h"

namespace vorel {

namespace {

void appendSection(std::string& text, const std::vector<ManifestEntry>& entries) {
    text += std::to_string(entries.size()) + "\n";
    for (const ManifestEntry& entry : entries) text += entry.name + "\n" + entry.path + "\n";
}

}  // namespace

std::string encodeManifest(const std::vector<ManifestEntry>& models,
                           const std::vector<ManifestEntry>& animations) {
    std::string text;
    appendSection(text, models);
    appendSection(text, animations);
    return text;
}

bool saveManifest(const std::string& path, const std::vector<ManifestEntry>& models,
                  const std::vector<ManifestEntry>& animations) {
    return writeFileBytes(path, encodeManifest(models, animations));
}

}  // namespace vorel
