// Recognition of asset files by content: the two binary magics, a manifest's leading count or
// a BVH capture's first word or an FBX file's header.
#include "tools/inspect/file_kind.h"

#include <cctype>

#include "assets/file_bytes.h"
#include "bvh/bvh_file_kind.h"
#include "fbx/read_fbx.h"

namespace vorel {

namespace {

bool startsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

bool looksLikeManifest(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i]))) ++i;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) ++i;
    return i < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[i]));
}

}  // namespace

FileKind recogniseFile(const std::string& path, LoadError& error) {
    // The same reading as the loaders', so a file that cannot be read gets their message.
    std::string bytes;
    if (!readFileBytes(path, bytes, &error)) return FileKind::Unknown;

    if (startsWith(bytes, "PLY")) return FileKind::Model;
    if (startsWith(bytes, std::string("\x79\x56\x34\x12", 4))) return FileKind::Animation;
    if (looksLikeManifest(bytes)) return FileKind::Manifest;
    if (looksLikeBvh(bytes)) return FileKind::Bvh;
    if (looksLikeFbx(bytes)) return FileKind::Fbx;
    error = LoadError{path, "header", 0,
                      "not a model (\"PLY\"), an animation (79 56 34 12), a manifest (a count), "
                      "a BVH capture (HIERARCHY) or an FBX file (Kaydara FBX Binary, "
                      "FBXHeaderExtension)"};
    return FileKind::Unknown;
}

const char* fileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Model:
            return "model";
        case FileKind::Animation:
            return "animation";
        case FileKind::Manifest:
            return "manifest";
        case FileKind::Bvh:
            return "BVH capture";
        case FileKind::Fbx:
            return "FBX file";
        case FileKind::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace vorel
