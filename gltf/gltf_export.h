// exportGltf: a Vorel model and recorded motions as one tinygltf model: a skinned mesh (two
// triangles per face, one joint per vertex), the bone tree as joint nodes under a static root
// joint, the skin with its inverse bind matrices, one LINEAR animation per motion, a material
// close to what the viewer shows, and asset.generator naming Vorel. Writing the file is
// write_gltf_file.h; recording the motions is record_motion.h.
#pragma once

#include <tiny_gltf.h>

#include <cstdint>
#include <string>
#include <vector>

#include "anim/recorded_motion.h"
#include "assets/model_data.h"

namespace vorel {

struct GltfExportSummary {
    std::size_t vertexCount = 0;
    std::size_t triangleCount = 0;
    // The static root joint included.
    std::size_t jointCount = 0;
    std::size_t animationCount = 0;
    // Keys written over every channel of every animation.
    std::size_t keyCount = 0;
    // What glTF cannot hold as the viewer does, one line each.
    std::vector<std::string> warnings;
};

// The viewer's lit colour, as a glTF (linear) base colour: see gltf_export.cpp.
extern const double ViewerBaseColour[4];

// False, with problem set, when the model cannot be written as glTF (a position, normal or
// recorded transform that is not finite, too many bones). Every motion must have been
// recorded with bonesInWalkOrder(model); `modelName` names the mesh and its node.
bool exportGltf(const ModelData& model, const std::string& modelName,
                const std::vector<RecordedMotion>& motions, tinygltf::Model& gltf,
                GltfExportSummary& summary, std::string& problem);

}  // namespace vorel
