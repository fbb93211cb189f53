// Reads the container and the scene, then runs the import steps in order.
#include "fbx/import_fbx.h"

#include <algorithm>

#include "assets/file_bytes.h"
#include "convert/assemble_model.h"
#include "convert/chain_tolerances.h"
#include "convert/finish_import.h"
#include "convert/imported_names.h"
#include "convert/weld_mesh.h"
#include "fbx/fbx_animation.h"
#include "fbx/fbx_mesh.h"
#include "fbx/fbx_skeleton.h"
#include "fbx/read_fbx.h"
#include "fbx/read_fbx_scene.h"

namespace vorel {

namespace {

bool importAnimationsOf(const FbxScene& scene, const FbxRig& rig, const FbxAxes& axes,
                        const ImportedSkeleton& skeleton, const ImportOptions& options,
                        ImportedSet& result, LoadError& error) {
    if (result.staticBone) {
        result.warnings.push_back("no joints: imported as one static bone");
        if (!scene.stacks.empty()) {
            result.warnings.push_back(std::to_string(scene.stacks.size()) +
                                      " animations skipped: there are no joints to move");
        }
        return true;
    }
    AnimationImportOptions animationOptions;
    animationOptions.speed = options.speed;
    const double height = modelHeight(*result.model);
    animationOptions.tolerances = importTolerances(height);
    animationOptions.boneTolerances = chainTolerances(
        *result.model, ImportChainErrorPerHeight * height, animationOptions.tolerances);
    return importFbxAnimations(scene, rig, axes, skeleton, animationOptions, result.animations,
                               result.warnings, error);
}

bool importScene(const std::string& bytes, const std::string& path, const ImportOptions& options,
                 bool meshRequired, ImportedSet& result, LoadError& error) {
    FbxDocument document;
    FbxScene scene;
    if (!readFbx(bytes, path, document, error) || !readFbxScene(document, path, scene, error))
        return false;
    document = FbxDocument{};
    error.file = path;
    result.warnings = scene.skipped;
    const FbxRig rig = buildFbxRig(scene);
    const FbxAxes axes(scene.settings);
    ImportedSkeleton skeleton;
    ImportedMesh mesh;
    if (!buildFbxSkeleton(scene, rig, axes, skeleton, result.warnings, error) ||
        !importFbxMesh(scene, rig, axes, skeleton, options.rigid, mesh, result.warnings, error)) {
        return false;
    }
    if (mesh.faces.empty() && (meshRequired || skeleton.boneNode.empty()))
        return fail(error, "Objects", "the scene has no polygon mesh");
    weldMesh(mesh);
    result.boneCount = std::max<std::size_t>(skeleton.boneNode.size(), 1);
    result.staticBone = skeleton.boneNode.empty();
    result.ranges = mesh.ranges;
    result.followedWeights = mesh.followedWeights;
    result.vertexPositions = mesh.vertexPositions;
    result.skinnedVertexCount = mesh.skinnedVertexCount;
    result.weakVertexCount = mesh.weakVertexCount;
    result.blendedVertexCount = mesh.blendedVertexCount;
    result.model = assembleModel(skeleton, mesh);
    result.modelName = modelNameForPath(path);
    if (!importAnimationsOf(scene, rig, axes, skeleton, options, result, error) ||
        !chooseKeyAnimations(options, "AnimationStack", result, error)) {
        return false;
    }
    nameAnimations(result);
    return finishImport(result, options, path, error);
}

}  // namespace

bool importFbxBytes(const std::string& bytes, const std::string& path, const ImportOptions& options,
                    ImportedSet& result, LoadError& error) {
    return importScene(bytes, path, options, true, result, error);
}

bool importFbx(const std::string& path, const ImportOptions& options, ImportedSet& result,
               LoadError& error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, &error)) return false;
    return importFbxBytes(bytes, path, options, result, error);
}

bool importFbxMotion(const std::string& path, ImportedSet& result, LoadError& error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, &error)) return false;
    ImportOptions options;
    options.fitToView = false;
    return importScene(bytes, path, options, false, result, error);
}

}  // namespace vorel
