// readFbxBinary: the binary FBX container. A record is its end offset, property count and
// length, name, properties and child records ended by a record of zeros; the offsets are 32
// bits wide before version 7500 and 64 bits from it.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "fbx/fbx_node.h"

namespace vorel {

// The 21 bytes that open a binary FBX file.
extern const char FbxBinaryMagic[21];

bool readFbxBinary(const std::string& bytes, const std::string& path, FbxDocument& document,
                   LoadError& error);

}  // namespace vorel
