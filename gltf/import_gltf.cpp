// Runs the import steps in order and assembles the model and the manifest's names.
#include "gltf/import_gltf.h"

#include <algorithm>
#include <cmath>

#include "assets/dance_names.h"
#include "convert/assemble_model.h"
#include "convert/chain_tolerances.h"
#include "convert/finish_import.h"
#include "convert/imported_names.h"
#include "convert/weld_mesh.h"
#include "gltf/gltf_accessor.h"
#include "gltf/gltf_animation.h"
#include "gltf/gltf_document.h"
#include "gltf/gltf_mesh.h"
#include "gltf/gltf_scene_graph.h"
#include "gltf/gltf_skeleton.h"
#include "math/hash_name.h"

namespace vorel {

namespace {

bool importDocument(const tinygltf::Model& document, const std::string& path,
                    const ImportOptions& options, ImportedSet& result, LoadError& error) {
    error.file = path;
    GltfSceneGraph graph;
    ImportedSkeleton skeleton;
    ImportedMesh mesh;
    if (!buildSceneGraph(document, graph, error) ||
        !importSkeleton(document, graph, skeleton, result.warnings, error) ||
        !importMesh(document, graph, skeleton, options.rigid, mesh, result.warnings, error)) {
        return false;
    }
    weldMesh(mesh);
    if (!graph.shearedNodes.empty()) {
        result.warnings.push_back(std::to_string(graph.shearedNodes.size()) +
                                  " node matrices shear (the first " +
                                  jsonPointer("nodes", graph.shearedNodes.front()) +
                                  "): kept as the nearest translation, rotation and scale");
    }
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

    if (result.staticBone) {
        result.warnings.push_back("no skin: imported as one static bone");
        if (!document.animations.empty()) {
            result.warnings.push_back(std::to_string(document.animations.size()) +
                                      " animations skipped: there are no joints to move");
        }
    } else {
        AnimationImportOptions animationOptions;
        animationOptions.speed = options.speed;
        const double height = modelHeight(*result.model);
        animationOptions.tolerances = importTolerances(height);
        animationOptions.boneTolerances = chainTolerances(
            *result.model, ImportChainErrorPerHeight * height, animationOptions.tolerances);
        if (!importAnimations(document, graph, skeleton, animationOptions, result.animations,
                              result.warnings, error)) {
            return false;
        }
    }
    if (!chooseKeyAnimations(options, "/animations", result, error)) return false;
    nameAnimations(result);
    return finishImport(result, options, path, error);
}

}  // namespace

bool importGltf(const std::string& path, const ImportOptions& options, ImportedSet& result,
                LoadError& error) {
    tinygltf::Model document;
    std::string warnings;
    if (!loadGltfDocument(path, document, warnings, error)) return false;
    return importDocument(document, path, options, result, error);
}

bool importGltfBytes(const std::string& bytes, const std::string& path,
                     const ImportOptions& options, ImportedSet& result, LoadError& error) {
    tinygltf::Model document;
    std::string warnings;
    if (!parseGltfDocument(bytes, "", path, document, warnings, error)) return false;
    return importDocument(document, path, options, result, error);
}

}  // namespace vorel
