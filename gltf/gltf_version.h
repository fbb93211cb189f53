// Telling a glTF 1.0 document from a 2.0 one, so that a 1.0 file is refused for what it is
// rather than for whichever 2.0 rule it happens to break first.
#pragma once

#include <string>

namespace vorel {

// A GLB whose header gives version 1.
bool isGltf1Binary(const std::string& bytes);

// JSON whose asset.version is 1.x, or whose top-level collections are objects keyed by id
// (1.0's form) rather than arrays.
bool isGltf1Text(const std::string& bytes);

}  // namespace vorel
