// Buffer URIs are checked as written and as decoded: no control byte, no scheme but data:,
// no absolute path, and no ".." climbing above the folder the document lies in.
#include "gltf/gltf_buffer_uri.h"

#include <cctype>

namespace vorel {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string& uri) {
    std::string decoded;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        const int high = i + 2 < uri.size() ? hexValue(uri[i + 1]) : -1;
        const int low = i + 2 < uri.size() ? hexValue(uri[i + 2]) : -1;
        if (uri[i] == '%' && high >= 0 && low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += uri[i];
        }
    }
    return decoded;
}

bool holdsControlByte(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) return true;
    }
    return false;
}

// "file:", "http:", "C:": letters (and digits, '+', '-', '.') before the first ':'.
bool hasScheme(const std::string& path) {
    const std::size_t colon = path.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

// True when the path, its ".." resolved step by step, ever climbs above where it starts.
bool climbsAboveStart(const std::string& path) {
    int depth = 0;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        const std::string step = path.substr(start, end - start);
        if (step == "..") {
            if (--depth < 0) return true;
        } else if (!step.empty() && step != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string bufferUriProblem(const std::string& uri) {
    if (uri.compare(0, 5, "data:") == 0) return {};
    const std::string path = percentDecoded(uri);
    if (holdsControlByte(uri) || holdsControlByte(path)) return "URI holds a control character";
    if (hasScheme(path)) return "URI names a scheme other than data:; only relative paths are read";
    if (path.empty() || path[0] == '/' || path[0] == '\\') {
        return "URI is not a relative path inside the document's folder";
    }
    if (climbsAboveStart(path)) return "URI leads outside the document's folder";
    return {};
}

}  // namespace vorel
