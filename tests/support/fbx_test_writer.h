// FBX files written from a node tree in memory, for the FBX reader's tests, fuzz seeds and
// benchmarks: the binary form (any version, arrays raw or deflated) and the ASCII 7.x form,
// plus helpers to build nodes tersely. Nothing here checks what it is given, so tests can also
// write lying files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "fbx/fbx_node.h"

namespace vorel::test_support {

struct FbxWriteOptions {
    int version = 7400;
    bool deflateArrays = true;
};

// Integers are written as 'I' when they fit 32 bits and 'L' otherwise, reals as 'D', integer
// arrays as 'i' or 'l' likewise, real arrays as 'd'.
std::string writeFbxBinary(const FbxNode& root, const FbxWriteOptions& options = {});
std::string writeFbxAscii(const FbxNode& root);

// The bytes of one binary record, for tests that need a property type the writer does not
// choose: `propertyBytes` as given (each property's type byte and value), then the children.
std::string fbxRecordBytes(const std::string& name, std::uint32_t propertyCount,
                           const std::string& propertyBytes, const std::string& childBytes,
                           std::size_t start, int version);
// The header that opens a binary file of `version`.
std::string fbxBinaryHeader(int version);

FbxProperty fbxInteger(std::int64_t value);
FbxProperty fbxReal(double value);
FbxProperty fbxText(const std::string& value);
FbxProperty fbxIntegers(std::vector<std::int64_t> values);
FbxProperty fbxReals(std::vector<double> values);
FbxNode fbxNode(const std::string& name, std::vector<FbxProperty> properties = {},
                std::vector<FbxNode> children = {});

}  // namespace vorel::test_support
