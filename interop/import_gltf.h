// importGltf: a whole glTF 2.0 file as one Vorel model and its animations, in memory, ready
// for writeSetAtomically. The steps live in their own files: reading (gltf_document), the
// node tree (gltf_scene_graph), skeleton, mesh, animations, and the fit to the view.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/load_error.h"
#include "assets/model_data.h"
#include "interop/fit_to_view.h"
#include "interop/gltf_animation.h"
#include "interop/gltf_mesh.h"
#include "interop/write_set.h"

namespace vorel {

struct GltfImportOptions {
    // Scale and move into the fixed view; false keeps the file's units and position.
    bool fitToView = true;
    float height = ViewStandingHeight;
    // glTF seconds per unit of the animation clock.
    double speed = 1.0;
    // glTF animation names for keys 1 to 7; empty: the first seven animations in order.
    std::vector<std::string> keys;
    // A BVH capture's roots keep their first frame's horizontal position (BVH only).
    bool inPlace = false;
};

struct GltfImport {
    std::string modelName;
    std::unique_ptr<ModelData> model;
    // Animations with unique names (not clashing with the key names either).
    std::vector<ImportedAnimation> animations;
    // The animation each key plays, key 1 first (at most seven).
    std::vector<std::size_t> keyAnimations;
    std::vector<std::string> warnings;
    std::vector<PrimitiveRange> ranges;
    // Per model position, the weight of the joint it follows (see ImportedMesh).
    std::vector<float> followedWeights;
    ViewFit fit;
    std::size_t boneCount = 0;
    // True when the file has no skin and the model is one static bone.
    bool staticBone = false;
    std::int64_t skinnedVertexCount = 0;
    std::int64_t weakVertexCount = 0;
};

// False, with error set, when the file cannot be imported; `--keys` naming an animation the
// file lacks is such an error too.
bool importGltf(const std::string& path, const GltfImportOptions& options, GltfImport& result,
                LoadError& error);
// The same from bytes in memory (no external buffers are read), for fuzzing and tests.
bool importGltfBytes(const std::string& bytes, const std::string& path,
                     const GltfImportOptions& options, GltfImport& result, LoadError& error);

// The files and manifest entries of an import: keys first under the viewer's dance names,
// then every animation under its own name.
SetToWrite setForImport(const GltfImport& imported);

}  // namespace vorel
