// recogniseFile: tells a model, an animation, a manifest, a BVH capture and an FBX file apart by
// their first bytes, so that vorel-inspect needs no file-name convention. It only looks; the
// loaders judge.
#pragma once

#include <string>

#include "assets/load_error.h"

namespace vorel {

enum class FileKind { Model, Animation, Manifest, Bvh, Fbx, Unknown };

// Model: begins with "PLY". Animation: begins with the magic 0x12345679 stored little-endian.
// Manifest: text whose first non-blank characters are a count (an optional sign, a digit).
// Bvh: text whose first word is HIERARCHY. Fbx: the binary FBX magic, or text whose first
// record is FBXHeaderExtension.
// Unknown when the file cannot be read or is none of these; error then says why.
FileKind recogniseFile(const std::string& path, LoadError& error);

const char* fileKindName(FileKind kind);

}  // namespace vorel
