// readFbx: an FBX file's bytes as its node tree (fbx_node.h), binary (versions 7100 to 7700)
// or ASCII (6.1 and 7.x). Every record is checked against the file and its parent before it is
// read, so a lying file is refused in one line and in time and memory proportional to it.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "fbx/fbx_node.h"

namespace vorel {

// Records nest at most this deep; real files use fewer than ten levels.
constexpr int MaxFbxNesting = 64;

// Whether the bytes are meant as FBX: the binary magic, or ASCII whose first record is
// FBXHeaderExtension (comments and blank lines before it allowed). It only looks.
bool looksLikeFbx(const std::string& bytes);

// False, with error set (its file `path`), when the bytes are not an FBX file the reader
// accepts.
bool readFbx(const std::string& bytes, const std::string& path, FbxDocument& document,
             LoadError& error);

}  // namespace vorel
