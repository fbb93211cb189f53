// Telling the two FBX forms apart and handing each to its reader.
#include "fbx/read_fbx.h"

#include <cstring>

#include "fbx/fbx_ascii_reader.h"
#include "fbx/fbx_binary_reader.h"

namespace vorel {

namespace {

bool isBinary(const std::string& bytes) {
    return bytes.size() >= sizeof(FbxBinaryMagic) &&
           std::memcmp(bytes.data(), FbxBinaryMagic, sizeof(FbxBinaryMagic)) == 0;
}

// The first word of the text after white space and `;` comments.
std::string_view firstWord(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == ';') {
            while (at < text.size() && text[at] != '\n') ++at;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else {
            break;
        }
    }
    std::size_t end = at;
    while (end < text.size() && text[end] != ':' && text[end] != ' ' && text[end] != '\n') ++end;
    return std::string_view(text).substr(at, end - at);
}

}  // namespace

bool looksLikeFbx(const std::string& bytes) {
    return isBinary(bytes) || firstWord(bytes) == "FBXHeaderExtension";
}

bool readFbx(const std::string& bytes, const std::string& path, FbxDocument& document,
             LoadError& error) {
    document = FbxDocument{};
    if (isBinary(bytes)) return readFbxBinary(bytes, path, document, error);
    if (firstWord(bytes) != "FBXHeaderExtension") {
        error.file = path;
        return fail(error, "", "not an FBX file (no binary header, no FBXHeaderExtension)");
    }
    return readFbxAscii(bytes, path, document, error);
}

}  // namespace vorel
