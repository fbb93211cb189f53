// Serialising through tinygltf into memory, then temporary files and renames. (The library's
// build leaves tinygltf's image code out for every file that includes it.)
#include "gltf/write_gltf_file.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <utility>
#include <vector>

#include "assets/file_bytes.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

std::uint32_t readWord(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value =
            (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The JSON and BIN chunks of the GLB tinygltf has just written (so their lengths are sound).
void splitBinary(const std::string& glb, std::string& json, std::string& bin) {
    const std::uint32_t jsonLength = readWord(glb, 12);
    json = glb.substr(20, jsonLength);
    const std::size_t binHeader = 20 + std::size_t{jsonLength};
    bin = glb.size() >= binHeader + 8 ? glb.substr(binHeader + 8, readWord(glb, binHeader))
                                      : std::string();
}

// The .gltf text for the JSON chunk: the buffer named by the .bin's file name, exactly as long.
std::string textDocument(const std::string& json, const std::string& binName,
                         std::size_t& binLength) {
    nlohmann::json document = nlohmann::json::parse(json);
    nlohmann::json& buffer = document["buffers"][0];
    binLength = buffer["byteLength"].get<std::size_t>();
    buffer["uri"] = binName;
    return document.dump(1) + "\n";
}

// Each file goes in whole or not at all (writeFileBytes renames a complete temporary into
// place); the .bin goes first, so a .gltf never names a buffer that is not there, and when the
// .gltf then fails, the .bin written for it is taken away again, so a failure leaves nothing.
// The problem names the file only when it is not the one asked for (the .bin of a .gltf).
bool writeFiles(const std::vector<std::pair<std::string, std::string>>& files,
                const std::string& target, std::string& problem) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i].first;
        std::string reason;
        if (!writeFileBytes(path, files[i].second, &reason)) {
            problem = (path == target ? "cannot be written: "
                                      : "cannot write its buffer " + path + ": ") +
                      reason;
            for (std::size_t written = 0; written < i; ++written) {
                std::error_code ignored;
                fs::remove(files[written].first, ignored);
            }
            return false;
        }
    }
    return true;
}

// The files to write and their bytes; none when tinygltf fails.
std::vector<std::pair<std::string, std::string>> serialise(const tinygltf::Model& model,
                                                           const std::string& path,
                                                           GltfContainer container) {
    tinygltf::TinyGLTF writer;
    std::ostringstream stream;
    if (!writer.WriteGltfSceneToStream(&model, stream, false, true)) return {};
    const std::string glb = stream.str();
    if (container == GltfContainer::Binary) return {{path, glb}};
    std::string json, bin;
    splitBinary(glb, json, bin);
    std::size_t binLength = 0;
    const std::string binPath = binPathFor(path);
    const std::string text = textDocument(json, fs::path(binPath).filename().string(), binLength);
    bin.resize(binLength);
    return {{binPath, bin}, {path, text}};
}

}  // namespace

std::string binPathFor(const std::string& gltfPath) {
    return fs::path(gltfPath).replace_extension(".bin").string();
}

bool writeGltfAtomically(const tinygltf::Model& model, const std::string& path,
                         GltfContainer container, std::string& problem) {
    std::vector<std::pair<std::string, std::string>> files;
    // The JSON library throws on what it cannot write (a name that is not UTF-8).
    try {
        files = serialise(model, path, container);
    } catch (const std::exception& thrown) {
        problem = std::string("cannot be serialised: ") + thrown.what();
        return false;
    }
    if (files.empty()) {
        problem = "tinygltf could not serialise the document";
        return false;
    }
    return writeFiles(files, path, problem);
}

}  // namespace vorel
