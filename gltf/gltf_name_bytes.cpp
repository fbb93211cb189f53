// Validating and escaping UTF-8 by hand (RFC 3629: no overlong forms, no surrogates, nothing
// past U+10FFFF), and the hex copy of a name's bytes in extras.
#include "gltf/gltf_name_bytes.h"

#include <tiny_gltf.h>

#include <cstdint>

namespace vorel {

const char* const NameBytesKey = "vorelNameBytes";

namespace {

const char* const HexDigits = "0123456789abcdef";

// The length of the valid UTF-8 sequence starting at text[at], or 0 when none starts there.
std::size_t validSequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, point = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, point = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, point = lead & 0x07u;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0u) != 0x80u) return 0;
        point = (point << 6) | (byte(at + k) & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < smallest[length] || surrogate || point > 0x10FFFF ? 0 : length;
}

std::string hexOf(const std::string& bytes) {
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += HexDigits[byte >> 4];
        hex += HexDigits[byte & 0x0Fu];
    }
    return hex;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// False when hex is not pairs of lowercase hex digits.
bool bytesOfHex(const std::string& hex, std::string& bytes) {
    if (hex.size() % 2 != 0) return false;
    bytes.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

template <typename Named>
void writeAsUtf8(Named& object) {
    if (isValidUtf8(object.name)) return;
    if (!object.extras.IsObject()) object.extras = tinygltf::Value(tinygltf::Value::Object{});
    tinygltf::Value::Object fields = object.extras.template Get<tinygltf::Value::Object>();
    fields[NameBytesKey] = tinygltf::Value(hexOf(object.name));
    object.extras = tinygltf::Value(std::move(fields));
    object.name = escapedUtf8(object.name);
}

template <typename Named>
void restoreBytes(Named& object) {
    if (!object.extras.IsObject() || !object.extras.Has(NameBytesKey)) return;
    const tinygltf::Value& kept = object.extras.Get(NameBytesKey);
    std::string bytes;
    if (kept.IsString() && bytesOfHex(kept.template Get<std::string>(), bytes)) object.name = bytes;
}

}  // namespace

bool isValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = validSequenceAt(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string escapedUtf8(const std::string& name) {
    if (isValidUtf8(name)) return name;
    std::string escaped;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = validSequenceAt(name, at);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(name[at]);
            escaped += "\\x";
            escaped += HexDigits[byte >> 4];
            escaped += HexDigits[byte & 0x0Fu];
            ++at;
            continue;
        }
        escaped += name[at] == '\\' ? std::string("\\\\") : name.substr(at, length);
        at += length;
    }
    return escaped;
}

void writeNamesAsUtf8(tinygltf::Model& model) {
    for (tinygltf::Node& node : model.nodes) writeAsUtf8(node);
    for (tinygltf::Mesh& mesh : model.meshes) writeAsUtf8(mesh);
    for (tinygltf::Scene& scene : model.scenes) writeAsUtf8(scene);
    for (tinygltf::Skin& skin : model.skins) writeAsUtf8(skin);
    for (tinygltf::Animation& animation : model.animations) writeAsUtf8(animation);
}

void restoreNameBytes(tinygltf::Model& model) {
    for (tinygltf::Node& node : model.nodes) restoreBytes(node);
    for (tinygltf::Animation& animation : model.animations) restoreBytes(animation);
}

}  // namespace vorel
