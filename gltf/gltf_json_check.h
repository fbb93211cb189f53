// checkGltfJson: the JSON types and ranges of every glTF field the import reads, checked before
// tinygltf turns the document into its model. tinygltf quietly puts a default in place of a
// negative offset, a huge count or a translation given as strings; here such a file is refused.
#pragma once

#include <cstdint>
#include <string_view>

#include "assets/load_error.h"

namespace vorel {

// False, with error's section the field's JSON pointer and its message what is wrong, for a
// field of the wrong type or out of range, a buffer URI leaving the document's folder, or
// a text nested too deeply. `jsonOffset` is where the text starts in the file; buffer URIs
// are checked only when `readsExternalFiles` (a document given in memory reads none). A text
// that is not JSON at all passes: tinygltf reports that in its own words.
bool checkGltfJson(std::string_view json, std::int64_t jsonOffset, bool readsExternalFiles,
                   LoadError& error);

}  // namespace vorel
