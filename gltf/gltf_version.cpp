// The version checks, on the raw bytes: nlohmann's parser (no exceptions) for the JSON, the
// header word for GLB.
#include "gltf/gltf_version.h"

#include <cstring>
#include <nlohmann/json.hpp>

namespace vorel {

namespace {

bool isVersion1(const nlohmann::json& version) {
    if (version.is_number()) return version.get<double>() >= 1.0 && version.get<double>() < 2.0;
    if (!version.is_string()) return false;
    const std::string text = version.get<std::string>();
    return text == "1" || text.rfind("1.", 0) == 0;
}

}  // namespace

bool isGltf1Binary(const std::string& bytes) {
    return bytes.size() >= 8 && std::memcmp(bytes.data(), "glTF\x01\0\0\0", 8) == 0;
}

bool isGltf1Text(const std::string& bytes) {
    const nlohmann::json document = nlohmann::json::parse(bytes, nullptr, false);
    if (!document.is_object()) return false;
    const auto asset = document.find("asset");
    if (asset != document.end() && asset->is_object() && asset->contains("version")) {
        return isVersion1((*asset)["version"]);
    }
    for (const char* collection : {"accessors", "buffers", "meshes", "nodes", "scenes"}) {
        const auto found = document.find(collection);
        if (found != document.end() && found->is_object()) return true;
    }
    return false;
}

}  // namespace vorel
