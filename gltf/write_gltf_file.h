// writeGltfAtomically: a tinygltf model as one .glb, or as .gltf beside a .bin holding its
// buffer. Each file is written whole under a temporary name and renamed into place
// (writeFileBytes), so a failure never leaves a partial file behind, nor the .bin of a .gltf
// that could not be written.
#pragma once

#include <tiny_gltf.h>

#include <string>

namespace vorel {

enum class GltfContainer { Binary, TextWithBin };

// False, with problem set, when a file cannot be written. For
// TextWithBin the buffer goes to the path with its extension replaced by ".bin", which the
// .gltf names by file name.
bool writeGltfAtomically(const tinygltf::Model& model, const std::string& path,
                         GltfContainer container, std::string& problem);

// The .bin path that goes with a .gltf path.
std::string binPathFor(const std::string& gltfPath);

}  // namespace vorel
