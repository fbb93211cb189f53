// The one place tinygltf's implementation is compiled, with image decoding and writing left
// out (gltf/CMakeLists.txt says so to every user of the header, so that its inline parts
// agree); images are accepted as opaque so that files with textures still load.
#define TINYGLTF_IMPLEMENTATION
#include "gltf/gltf_document.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <string_view>

#include "assets/file_bytes.h"
#include "gltf/gltf_json_check.h"
#include "gltf/gltf_name_bytes.h"
#include "gltf/gltf_version.h"

namespace vorel {

namespace {

bool ignoreImage(tinygltf::Image*, const int, std::string*, std::string*, int, int,
                 const unsigned char*, int, void*) {
    return true;
}

bool writeNoImage(const std::string*, const std::string*, const tinygltf::Image*, bool,
                  std::string*, void*) {
    return false;
}

bool isBinaryGltf(const std::string& bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
}

// tinygltf's messages end with new lines and sometimes hold several; one line is printed.
std::string firstLine(const std::string& text) {
    std::size_t start = text.find_first_not_of("\n ");
    // NOTE: tinygltf refuses a missing required property (a skin's "joints", an accessor's
    // "count") without a word, so the reason given here is the likely one.
    if (start == std::string::npos) {
        return "not a glTF document: a required property is missing or malformed";
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// GLB chunk lengths are checked here because a lying one would make the JSON chunk reach
// past the file; tinygltf checks the total length but reads chunk 0 as announced.
bool checkBinaryChunks(const std::string& bytes, const std::string& path, LoadError& error) {
    auto readWord = [&bytes](std::size_t offset) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) |
                    static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
        }
        return value;
    };
    error.file = path;
    error.section = "GLB header";
    if (bytes.size() < 20) {
        error.offset = 0;
        error.message = "file of " + std::to_string(bytes.size()) +
                        " bytes is shorter than a GLB header and its first chunk header";
        return false;
    }
    const std::uint64_t total = readWord(8);
    if (total > bytes.size()) {
        error.offset = 8;
        error.message = "total length " + std::to_string(total) + " is past the end of the " +
                        std::to_string(bytes.size()) + "-byte file";
        return false;
    }
    std::uint64_t offset = 12;
    while (offset + 8 <= total) {
        const std::uint64_t chunkLength = readWord(static_cast<std::size_t>(offset));
        if (offset + 8 + chunkLength > total) {
            error.section = "GLB chunk";
            error.offset = static_cast<std::int64_t>(offset);
            error.message =
                "chunk length " + std::to_string(chunkLength) + " runs past the end of the file";
            return false;
        }
        offset += 8 + chunkLength;
    }
    return true;
}

// Where a GLB's JSON chunk starts: after the 12-byte header and the chunk's 8-byte header.
constexpr std::int64_t GlbJsonStart = 20;

// The JSON text: all of a .gltf, a GLB's first chunk (whose length checkBinaryChunks checked).
std::string_view jsonText(const std::string& bytes, bool binary) {
    if (!binary) return bytes;
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length =
            (length << 8) | static_cast<unsigned char>(bytes[12 + static_cast<std::size_t>(i)]);
    return std::string_view(bytes).substr(GlbJsonStart, length);
}

// NOTE: tinygltf's own check opens the file, which blocks forever on a named pipe; asking the
// file system does not, and the read below then refuses anything but a regular file.
bool pathExists(const std::string& path, void*) {
    std::error_code failure;
    return std::filesystem::exists(path, failure);
}

// External buffers are read as every Vorel file is: regular files only, within the size limit.
bool readExternalFile(std::vector<unsigned char>* out, std::string* problem,
                      const std::string& path, void*) {
    std::string bytes;
    LoadError error;
    if (!readFileBytes(path, bytes, &error)) {
        if (problem != nullptr) *problem += error.describe() + "\n";
        return false;
    }
    out->assign(bytes.begin(), bytes.end());
    return true;
}

// For bytes given in memory: the document is all there is.
bool refuseExternalFile(std::vector<unsigned char>*, std::string* problem, const std::string& path,
                        void*) {
    if (problem != nullptr) {
        *problem += path + ": external files are not read for a document given in memory\n";
    }
    return false;
}

bool refuseVersion1(LoadError& error) {
    return fail(error, "", "glTF 1.0 is not supported; glTF 2.0 is");
}

}  // namespace

bool parseGltfDocument(const std::string& bytes, const std::string& baseFolder,
                       const std::string& path, tinygltf::Model& model, std::string& warnings,
                       LoadError& error) {
    error = LoadError{};
    error.file = path;
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        error.section = "open";
        error.message = "file too large";
        return false;
    }
    const bool binary = isBinaryGltf(bytes);
    if (binary && isGltf1Binary(bytes)) return refuseVersion1(error);
    if (binary && !checkBinaryChunks(bytes, path, error)) return false;
    if (!checkGltfJson(jsonText(bytes, binary), binary ? GlbJsonStart : 0, !baseFolder.empty(),
                       error)) {
        // A 1.0 document breaks 2.0's field rules; it is refused for its version instead.
        if (!binary && isGltf1Text(bytes)) return refuseVersion1(error);
        return false;
    }

    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(ignoreImage, nullptr);
    loader.SetImageWriter(writeNoImage, nullptr);
    loader.SetFsCallbacks({&pathExists, &tinygltf::ExpandFilePath,
                           baseFolder.empty() ? &refuseExternalFile : &readExternalFile,
                           &tinygltf::WriteWholeFile, nullptr});
    std::string problem;
    const auto length = static_cast<unsigned int>(bytes.size());
    bool loaded = false;
    // tinygltf throws on some lies (an empty buffer in a GLB); none may escape it.
    try {
        loaded = binary
                     ? loader.LoadBinaryFromMemory(
                           &model, &problem, &warnings,
                           reinterpret_cast<const unsigned char*>(bytes.data()), length, baseFolder)
                     : loader.LoadASCIIFromString(&model, &problem, &warnings, bytes.data(), length,
                                                  baseFolder);
    } catch (const std::exception& thrown) {
        problem = std::string("tinygltf could not read the document (") + thrown.what() + ")";
    }
    const bool mayBeVersion1 = !loaded || model.asset.version.rfind('1', 0) == 0;
    if (!binary && mayBeVersion1 && isGltf1Text(bytes)) return refuseVersion1(error);
    if (!loaded) {
        error.section = binary ? "GLB" : "JSON";
        error.message = firstLine(problem);
        return false;
    }
    restoreNameBytes(model);
    return true;
}

bool loadGltfDocument(const std::string& path, tinygltf::Model& model, std::string& warnings,
                      LoadError& error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, &error)) return false;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    return parseGltfDocument(bytes, folder.string(), path, model, warnings, error);
}

}  // namespace vorel
