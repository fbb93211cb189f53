// FbxNode: one record of an FBX file's node tree, binary or ASCII alike: a name, its
// properties in order and its child records. Numbers keep their kind: integers (bool, 16-, 32-
// and 64-bit) as 64-bit integers, floats and doubles as doubles, each array as one vector.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorel {

struct FbxProperty {
    enum class Kind { Integer, Real, Text, Raw, IntegerArray, RealArray };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    double real = 0.0;
    // Kind::Text and Kind::Raw.
    std::string text;
    std::vector<std::int64_t> integers;
    std::vector<double> reals;

    bool isNumber() const { return kind == Kind::Integer || kind == Kind::Real; }
    bool isArray() const { return kind == Kind::IntegerArray || kind == Kind::RealArray; }
    // The number as a double (an integer converted); 0 for anything else.
    double number() const;
    // An array's length; 0 for anything else.
    std::size_t arrayLength() const;
};

struct FbxNode {
    std::string name;
    std::vector<FbxProperty> properties;
    std::vector<FbxNode> children;

    // The first child of that name, or null.
    const FbxNode* child(const std::string& childName) const;
    FbxNode* child(const std::string& childName);
};

struct FbxDocument {
    // The top-level records as children of a nameless root.
    FbxNode root;
    // 7400 for "FBX 7.4"; an ASCII file's FBXHeaderVersion-era version (6100, 7x00).
    int version = 0;
    bool binary = false;
};

}  // namespace vorel
