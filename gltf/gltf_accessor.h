// Range-checked reading of glTF accessors. tinygltf parses the JSON but does not check that an
// accessor's elements lie inside its buffer view and buffer; every read of vertex, index or
// key data goes through here, so a lying file fails with the accessor's JSON pointer instead
// of reading past a buffer.
#pragma once

#include <tiny_gltf.h>

#include <cstdint>
#include <string>
#include <vector>

#include "assets/load_error.h"

namespace vorel {

// Reads accessor `index` as `components` floats per element (1 SCALAR, 2 VEC2, 3 VEC3,
// 4 VEC4, 16 MAT4), converting normalised integer types to [0, 1] or [-1, 1]. Fails when the
// index, type, component type, or any byte of any element is out of range, when the
// accessor is sparse, or when a value is not finite.
bool readFloatAccessor(const tinygltf::Model& model, int index, int components,
                       std::vector<float>& values, LoadError& error);
// The same for unsigned integer data (indices, JOINTS_n), kept as integers; `components`
// is 1 for indices, 4 for joints.
bool readUnsignedAccessor(const tinygltf::Model& model, int index, int components,
                          std::vector<std::uint32_t>& values, LoadError& error);
// The element count of accessor `index`, or -1 when the index is out of range.
std::int64_t accessorCount(const tinygltf::Model& model, int index);

// "/accessors/3": the JSON pointer of an array element, for error messages.
std::string jsonPointer(const char* array, int index);

}  // namespace vorel
