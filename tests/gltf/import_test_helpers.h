// What the importer's tests share: importing a built document without the fit, reaching
// into its buffer, and finding the bone a position follows.
#pragma once

#include <tiny_gltf.h>

#include <string>

#include "assets/bone_data.h"
#include "gltf/import_gltf.h"

namespace vorel::test_support {

// importGltfBytes with --fit none; the path names the form ("test.glb" or "test.gltf").
bool importWithoutFit(const std::string& bytes, ImportedSet& result, LoadError& error,
                      const std::string& path = "test.glb");
// The same with --rigid: each vertex follows its heaviest joint alone.
bool importRigidWithoutFit(const std::string& bytes, ImportedSet& result, LoadError& error);

// The first byte of an accessor's first element in a built document's one buffer.
unsigned char* accessorBytes(tinygltf::Model& model, int accessor);

// The model position vertex v of the primitive became.
std::int32_t positionOf(const ImportedSet& result, const PrimitiveRange& range, std::int64_t v);

// The bone whose vertex list holds the position, or null.
const BoneData* boneMoving(const ModelData& model, std::int32_t position);
const BoneData* boneNamed(const ModelData& model, const std::string& name);

// RobotExpressive.glb's bytes; the test fails when the file cannot be read.
std::string robotBytes();

}  // namespace vorel::test_support
