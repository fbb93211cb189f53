// Vorel names (bones, dances, models) are any bytes; glTF text is UTF-8. An exported name that
// is not valid UTF-8 is written escaped, and its own bytes are kept beside it in the object's
// extras, so that reading the file back gives every name byte for byte.
#pragma once

#include <string>

// Declared, not included: the file that compiles tinygltf's implementation includes this too.
namespace tinygltf {
class Model;
}

namespace vorel {

// The extras key holding a name's own bytes, two lowercase hex digits a byte.
extern const char* const NameBytesKey;

bool isValidUtf8(const std::string& text);

// Valid UTF-8 as it is; otherwise each byte outside a valid sequence becomes "\xnn" (lowercase
// hex) and each backslash "\\", which reads back unambiguously.
std::string escapedUtf8(const std::string& name);

// Escapes every node, mesh, scene, skin and animation name that is not valid UTF-8 and keeps
// its bytes in the object's extras.
void writeNamesAsUtf8(tinygltf::Model& model);

// Gives every node and animation whose extras hold a well-formed NameBytesKey those bytes as
// its name; anything else in extras is left alone.
void restoreNameBytes(tinygltf::Model& model);

}  // namespace vorel
