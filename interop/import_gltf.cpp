// Runs the import steps in order and assembles the model and the manifest's names.
#include "interop/import_gltf.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/dance_names.h"
#include "interop/gltf_accessor.h"
#include "interop/gltf_document.h"
#include "interop/gltf_scene_graph.h"
#include "interop/gltf_skeleton.h"
#include "math/hash_name.h"

namespace vorel {

namespace {

std::unique_ptr<ModelData> assembleModel(const ImportedSkeleton& skeleton, ImportedMesh& mesh) {
    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>();
    model->header->magic[0] = 'P';
    model->header->magic[1] = 'L';
    model->header->magic[2] = 'Y';
    model->header->version = 2;
    MaterialRecord material;
    for (int i = 0; i < 3; ++i) {
        material.firstColour[i] = 0.8f;
        material.secondColour[i] = 0.8f;
    }
    model->materials.push_back(material);
    model->positions = std::move(mesh.positions);
    model->normals = std::move(mesh.normals);
    model->faces = std::move(mesh.faces);
    model->normalLists.assign(model->positions.size(), {});
    for (const Face& face : model->faces) {
        for (int k = 0; k < 4; ++k) {
            model->normalLists[static_cast<std::size_t>(face.positionIndices[k])].push_back(face.normalIndices[k]);
        }
    }
    // A skeleton-free model still needs a bone: one the size of the mesh, moving nothing.
    float staticLength = 1.0f;
    if (!model->positions.empty()) {
        float low = model->positions[0].y, high = low;
        for (const Vector3& p : model->positions) low = std::min(low, p.y), high = std::max(high, p.y);
        if (high > low) staticLength = 0.1f * (high - low);
    }
    model->rootBone = buildBoneTree(skeleton, mesh.boneVertices, "root", staticLength);
    for (std::size_t b = 0; b < skeleton.names.size(); ++b) {
        model->boneNames[hashName(skeleton.names[b])] = skeleton.names[b];
    }
    if (skeleton.names.empty()) model->boneNames[hashName("root")] = "root";
    return model;
}

double modelHeight(const ModelData& model) {
    if (model.positions.empty()) return 1.0;
    float low = model.positions[0].y, high = low;
    for (const Vector3& p : model.positions) low = std::min(low, p.y), high = std::max(high, p.y);
    return high > low ? static_cast<double>(high - low) : 1.0;
}

void nameAnimations(GltfImport& result) {
    std::vector<std::string> taken;
    std::vector<std::uint32_t> takenHashes;
    for (const char* dance : DanceNames) {
        std::string name = dance;
        makeNameUnique(name, taken, takenHashes);
    }
    for (ImportedAnimation& animation : result.animations) {
        std::string name = animation.name;
        // A manifest name ends at the line end and is read with a 511-character limit.
        for (char& c : name) {
            if (c == '\n' || c == '\r' || c == '\0') c = ' ';
        }
        if (name.size() > 200) name.resize(200);
        makeNameUnique(name, taken, takenHashes);
        if (name != animation.name) {
            result.warnings.push_back("animation '" + animation.name + "' listed as '" + name + "'");
        }
        animation.name = name;
    }
}

bool chooseKeys(const std::vector<std::string>& gltfNames, const GltfImportOptions& options,
                GltfImport& result, LoadError& error) {
    if (options.keys.empty()) {
        for (std::size_t a = 0; a < result.animations.size() && a < DanceNames.size(); ++a) {
            result.keyAnimations.push_back(a);
        }
        return true;
    }
    for (const std::string& wanted : options.keys) {
        const auto found = std::find(gltfNames.begin(), gltfNames.end(), wanted);
        if (found == gltfNames.end()) {
            error.section = "/animations";
            error.message = "no animation named '" + wanted + "' for --keys";
            return false;
        }
        result.keyAnimations.push_back(static_cast<std::size_t>(found - gltfNames.begin()));
    }
    return true;
}

bool importDocument(const tinygltf::Model& document, const std::string& path,
                    const GltfImportOptions& options, GltfImport& result, LoadError& error) {
    error.file = path;
    GltfSceneGraph graph;
    ImportedSkeleton skeleton;
    ImportedMesh mesh;
    if (!buildSceneGraph(document, graph, error) ||
        !importSkeleton(document, graph, skeleton, result.warnings, error) ||
        !importMesh(document, graph, skeleton, mesh, result.warnings, error)) {
        return false;
    }
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
    result.skinnedVertexCount = mesh.skinnedVertexCount;
    result.weakVertexCount = mesh.weakVertexCount;
    result.model = assembleModel(skeleton, mesh);
    result.modelName = std::filesystem::path(path).stem().string();
    if (result.modelName.empty()) result.modelName = "model";
    for (char& c : result.modelName) {
        if (c == '\n' || c == '\r') c = ' ';
    }

    if (result.staticBone) {
        result.warnings.push_back("no skin: imported as one static bone");
        if (!document.animations.empty()) {
            result.warnings.push_back(std::to_string(document.animations.size()) +
                                      " animations skipped: there are no joints to move");
        }
    } else {
        AnimationImportOptions animationOptions;
        animationOptions.speed = options.speed;
        animationOptions.lengthTolerance = 2e-5 * modelHeight(*result.model);
        if (!importAnimations(document, graph, skeleton, animationOptions, result.animations,
                              result.warnings, error)) {
            return false;
        }
    }
    std::vector<std::string> gltfNames;
    for (const ImportedAnimation& animation : result.animations) gltfNames.push_back(animation.name);
    if (!chooseKeys(gltfNames, options, result, error)) return false;
    nameAnimations(result);

    if (options.fitToView) {
        result.fit = fitForView(*result.model, options.height);
        std::vector<AnimationData*> animations;
        for (ImportedAnimation& animation : result.animations) animations.push_back(animation.data.get());
        applyFit(result.fit, *result.model, animations);
    }
    return true;
}

}  // namespace

bool importGltf(const std::string& path, const GltfImportOptions& options, GltfImport& result,
                LoadError& error) {
    tinygltf::Model document;
    std::string warnings;
    if (!loadGltfDocument(path, document, warnings, error)) return false;
    return importDocument(document, path, options, result, error);
}

bool importGltfBytes(const std::string& bytes, const std::string& path,
                     const GltfImportOptions& options, GltfImport& result, LoadError& error) {
    tinygltf::Model document;
    std::string warnings;
    if (!parseGltfDocument(bytes, "", path, document, warnings, error)) return false;
    return importDocument(document, path, options, result, error);
}

SetToWrite setForImport(const GltfImport& imported) {
    SetToWrite set;
    set.modelName = imported.modelName;
    set.modelFileName = safeFileStem(imported.modelName) + ".ply";
    set.model = imported.model.get();
    std::vector<std::string> stems;
    for (std::size_t a = 0; a < imported.animations.size(); ++a) {
        std::string stem = safeFileStem(imported.animations[a].name);
        // Distinct names can share a stem ("a b", "a_b"): number the later ones.
        if (std::find(stems.begin(), stems.end(), stem) != stems.end()) stem += "_" + std::to_string(a);
        stems.push_back(stem);
        set.animations.push_back({stem + ".anim", imported.animations[a].data.get()});
    }
    for (std::size_t key = 0; key < imported.keyAnimations.size() && key < DanceNames.size(); ++key) {
        set.entries.push_back({DanceNames[key], imported.keyAnimations[key]});
    }
    for (std::size_t a = 0; a < imported.animations.size(); ++a) {
        set.entries.push_back({imported.animations[a].name, a});
    }
    return set;
}

}  // namespace vorel
