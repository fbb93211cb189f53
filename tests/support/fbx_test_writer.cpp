// Serialises the node tree depth-first; a record's end offset is known once its children are.
#include "tests/support/fbx_test_writer.h"

#include <zlib.h>

#include <cstring>
#include <limits>

#include "fbx/fbx_binary_reader.h"

namespace vorel::test_support {

namespace {

void appendLittle(std::string& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

template <typename T>
void appendBits(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

bool fits32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

void appendArray(std::string& out, char type, const std::string& raw, std::size_t length,
                 bool deflate) {
    out.push_back(type);
    appendLittle(out, length, 4);
    if (!deflate) {
        appendLittle(out, 0, 4);
        appendLittle(out, raw.size(), 4);
        out += raw;
        return;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6);
    packed.resize(packedSize);
    appendLittle(out, 1, 4);
    appendLittle(out, packed.size(), 4);
    out += packed;
}

void appendProperty(std::string& out, const FbxProperty& property, bool deflate) {
    std::string raw;
    switch (property.kind) {
        case FbxProperty::Kind::Integer:
            out.push_back(fits32(property.integer) ? 'I' : 'L');
            appendLittle(out, static_cast<std::uint64_t>(property.integer),
                         fits32(property.integer) ? 4 : 8);
            return;
        case FbxProperty::Kind::Real:
            out.push_back('D');
            appendBits(out, property.real);
            return;
        case FbxProperty::Kind::Text:
        case FbxProperty::Kind::Raw:
            out.push_back(property.kind == FbxProperty::Kind::Text ? 'S' : 'R');
            appendLittle(out, property.text.size(), 4);
            out += property.text;
            return;
        case FbxProperty::Kind::IntegerArray: {
            bool narrow = true;
            for (std::int64_t v : property.integers) narrow = narrow && fits32(v);
            for (std::int64_t v : property.integers)
                appendLittle(raw, static_cast<std::uint64_t>(v), narrow ? 4 : 8);
            appendArray(out, narrow ? 'i' : 'l', raw, property.integers.size(), deflate);
            return;
        }
        case FbxProperty::Kind::RealArray:
            for (double v : property.reals) appendBits(raw, v);
            appendArray(out, 'd', raw, property.reals.size(), deflate);
            return;
    }
}

std::size_t offsetWidth(int version) {
    return version >= 7500 ? 8 : 4;
}

std::string nullRecord(int version) {
    return std::string(3 * offsetWidth(version) + 1, '\0');
}

std::string recordAt(const FbxNode& node, std::size_t start, const FbxWriteOptions& options) {
    std::string properties;
    for (const FbxProperty& property : node.properties)
        appendProperty(properties, property, options.deflateArrays);
    const std::size_t headerSize = 3 * offsetWidth(options.version) + 1 + node.name.size();
    std::string children;
    std::size_t at = start + headerSize + properties.size();
    for (const FbxNode& child : node.children) {
        std::string record = recordAt(child, at, options);
        at += record.size();
        children += record;
    }
    if (!node.children.empty()) children += nullRecord(options.version);
    return fbxRecordBytes(node.name, static_cast<std::uint32_t>(node.properties.size()), properties,
                          children, start, options.version);
}

std::string asciiValue(const FbxProperty& property) {
    switch (property.kind) {
        case FbxProperty::Kind::Integer:
            return std::to_string(property.integer);
        case FbxProperty::Kind::Real: {
            char text[32];
            std::snprintf(text, sizeof(text), "%.17g", property.real);
            std::string value = text;
            // Marks the value as a real even when it is whole.
            if (value.find_first_of(".eEn") == std::string::npos) value += ".0";
            return value;
        }
        default:
            return "\"" + property.text + "\"";
    }
}

// Objects' records always get braces, as exporters write them (three.js's FBXLoader reads an
// object without them as a plain value); other records without children get none.
void appendAscii(std::string& out, const FbxNode& node, int depth, bool object) {
    const std::string indent(static_cast<std::size_t>(depth), '\t');
    out += indent + node.name + ":";
    bool first = true;
    for (const FbxProperty& property : node.properties) {
        // As exporters write them: ", " before text, "," before numbers (three.js's FBXLoader
        // reads `"A", 1.0, 2.0` as not-a-number).
        out += first ? " " : property.kind == FbxProperty::Kind::Text ? ", " : ",";
        first = false;
        if (!property.isArray()) {
            out += asciiValue(property);
            continue;
        }
        out += "*" + std::to_string(property.arrayLength()) + " {\n" + indent + "\ta: ";
        for (std::size_t i = 0; i < property.arrayLength(); ++i) {
            if (i > 0) out += ",";
            out += property.kind == FbxProperty::Kind::IntegerArray
                       ? std::to_string(property.integers[i])
                       : asciiValue(fbxReal(property.reals[i]));
        }
        out += "\n" + indent + "}";
    }
    if (node.children.empty() && !object) {
        out += "\n";
        return;
    }
    out += " {\n";
    for (const FbxNode& child : node.children)
        appendAscii(out, child, depth + 1, node.name == "Objects");
    out += indent + "}\n";
}

}  // namespace

std::string fbxBinaryHeader(int version) {
    std::string out(FbxBinaryMagic, sizeof(FbxBinaryMagic));
    out += '\x1a';
    out += '\0';
    appendLittle(out, static_cast<std::uint64_t>(version), 4);
    return out;
}

std::string fbxRecordBytes(const std::string& name, std::uint32_t propertyCount,
                           const std::string& propertyBytes, const std::string& childBytes,
                           std::size_t start, int version) {
    const std::size_t width = offsetWidth(version);
    const std::size_t size = 3 * width + 1 + name.size() + propertyBytes.size() + childBytes.size();
    std::string out;
    appendLittle(out, start + size, width);
    appendLittle(out, propertyCount, width);
    appendLittle(out, propertyBytes.size(), width);
    out.push_back(static_cast<char>(name.size()));
    out += name + propertyBytes + childBytes;
    return out;
}

std::string writeFbxBinary(const FbxNode& root, const FbxWriteOptions& options) {
    std::string out = fbxBinaryHeader(options.version);
    for (const FbxNode& node : root.children) out += recordAt(node, out.size(), options);
    out += nullRecord(options.version);
    return out;
}

// The comment lines exporters begin with: three.js's FBXLoader tells ASCII files by sampling
// characters of the text's start, which these pass.
std::string writeFbxAscii(const FbxNode& root) {
    std::string out =
        "; FBX 7.4.0 project file\n; ----------------------------------------------------\n\n";
    for (const FbxNode& node : root.children) appendAscii(out, node, 0, false);
    return out;
}

FbxProperty fbxInteger(std::int64_t value) {
    FbxProperty property;
    property.kind = FbxProperty::Kind::Integer;
    property.integer = value;
    return property;
}

FbxProperty fbxReal(double value) {
    FbxProperty property;
    property.kind = FbxProperty::Kind::Real;
    property.real = value;
    return property;
}

FbxProperty fbxText(const std::string& value) {
    FbxProperty property;
    property.kind = FbxProperty::Kind::Text;
    property.text = value;
    return property;
}

FbxProperty fbxIntegers(std::vector<std::int64_t> values) {
    FbxProperty property;
    property.kind = FbxProperty::Kind::IntegerArray;
    property.integers = std::move(values);
    return property;
}

FbxProperty fbxReals(std::vector<double> values) {
    FbxProperty property;
    property.kind = FbxProperty::Kind::RealArray;
    property.reals = std::move(values);
    return property;
}

FbxNode fbxNode(const std::string& name, std::vector<FbxProperty> properties,
                std::vector<FbxNode> children) {
    FbxNode node;
    node.name = name;
    node.properties = std::move(properties);
    node.children = std::move(children);
    return node;
}

}  // namespace vorel::test_support
