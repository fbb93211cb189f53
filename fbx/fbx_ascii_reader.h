// readFbxAscii: the ASCII FBX form, 6.1 and 7.x alike: `Name: value, value {children}` with
// `;` comments. A 7.x array `Name: *N { a: v, v, ... }` becomes one array property of N
// elements (integers when every element is written as one); 6.1's long value lists stay a run
// of number properties, which the scene reads as an array too.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "fbx/fbx_node.h"

namespace vorel {

bool readFbxAscii(const std::string& text, const std::string& path, FbxDocument& document,
                  LoadError& error);

}  // namespace vorel
