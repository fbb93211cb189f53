// writeGltfAtomically: a tinygltf model as one .glb, or as .gltf beside a .bin holding its
// buffer. Each file is written under a temporary name in the target's folder and renamed into
// place, so a failure leaves neither a partial file nor a stale temporary behind.
#pragma once

#include <string>

#include <tiny_gltf.h>

namespace vorel {

enum class GltfContainer { Binary, TextWithBin };

// False, with problem set (without the path), when a file cannot be written or renamed. For
// TextWithBin the buffer goes to the path with its extension replaced by ".bin", which the
// .gltf names by file name.
bool writeGltfAtomically(const tinygltf::Model& model, const std::string& path,
                         GltfContainer container, std::string& problem);

// The .bin path that goes with a .gltf path.
std::string binPathFor(const std::string& gltfPath);

}  // namespace vorel
