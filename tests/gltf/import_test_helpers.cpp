// Imports without the fit and walks the imported bone tree.
#include "tests/gltf/import_test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "assets/file_bytes.h"
#include "skeleton/bone_walk.h"

namespace vorel::test_support {

namespace {

template <typename Matches>
const BoneData* findBone(const ModelData& model, Matches matches) {
    const BoneData* found = nullptr;
    PendingBones<const BoneData> pending;
    walkBones(static_cast<const BoneData*>(model.rootBone.get()), pending,
              [&](const BoneData& bone) {
                  if (found == nullptr && matches(bone)) found = &bone;
              });
    return found;
}

}  // namespace

bool importWithoutFit(const std::string& bytes, ImportedSet& result, LoadError& error,
                      const std::string& path) {
    ImportOptions options;
    options.fitToView = false;
    return importGltfBytes(bytes, path, options, result, error);
}

bool importRigidWithoutFit(const std::string& bytes, ImportedSet& result, LoadError& error) {
    ImportOptions options;
    options.fitToView = false;
    options.rigid = true;
    return importGltfBytes(bytes, "test.glb", options, result, error);
}

unsigned char* accessorBytes(tinygltf::Model& model, int accessor) {
    const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(accessor)];
    const tinygltf::BufferView& view = model.bufferViews[static_cast<std::size_t>(a.bufferView)];
    return model.buffers[0].data.data() + view.byteOffset + a.byteOffset;
}

std::int32_t positionOf(const ImportedSet& result, const PrimitiveRange& range, std::int64_t v) {
    return result.vertexPositions.at(static_cast<std::size_t>(range.firstVertex + v));
}

const BoneData* boneMoving(const ModelData& model, std::int32_t position) {
    return findBone(model, [position](const BoneData& bone) {
        return std::find(bone.vertices.begin(), bone.vertices.end(), position) !=
               bone.vertices.end();
    });
}

const BoneData* boneNamed(const ModelData& model, const std::string& name) {
    return findBone(model, [&name](const BoneData& bone) { return bone.name == name; });
}

std::string robotBytes() {
    std::string bytes;
    LoadError error;
    EXPECT_TRUE(readFileBytes(VOREL_ROBOT_GLB, bytes, &error)) << error.describe();
    return bytes;
}

}  // namespace vorel::test_support
