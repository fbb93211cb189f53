// ImportedSet: a character read from another format (glTF, BVH) as one Vorel model and its
// animations in memory, ready for writeSetAtomically, with what the import noticed on the way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/model_data.h"
#include "assets/write_set.h"
#include "convert/fit_to_view.h"
#include "convert/imported_animation.h"
#include "convert/imported_mesh.h"

namespace vorel {

struct ImportOptions {
    // Scale and move into the fixed view; false keeps the file's units and position.
    bool fitToView = true;
    float height = ViewStandingHeight;
    // Source seconds per unit of the animation clock.
    double speed = 1.0;
    // Source animation names for keys 1 to 7; empty: the first seven animations in order.
    std::vector<std::string> keys;
    // A BVH capture's roots keep their first frame's horizontal position (BVH only).
    bool inPlace = false;
    // Each vertex follows its heaviest joint alone, as before weighted vertices existed.
    bool rigid = false;
};

struct ImportedSet {
    std::string modelName;
    std::unique_ptr<ModelData> model;
    // Animations with unique names (not clashing with the key names either).
    std::vector<ImportedAnimation> animations;
    // The animation each key plays, key 1 first (at most seven).
    std::vector<std::size_t> keyAnimations;
    std::vector<std::string> warnings;
    std::vector<PrimitiveRange> ranges;
    // Per imported vertex, the weight of the joint it follows and the model position it
    // became (see ImportedMesh).
    std::vector<float> followedWeights;
    std::vector<std::int32_t> vertexPositions;
    ViewFit fit;
    std::size_t boneCount = 0;
    // True when the file has no skin and the model is one static bone.
    bool staticBone = false;
    std::int64_t skinnedVertexCount = 0;
    std::int64_t weakVertexCount = 0;
    // Imported vertices blended from several bones (see ImportedMesh).
    std::int64_t blendedVertexCount = 0;
};

// The files and manifest entries of an import: keys first under the viewer's dance names,
// then every animation under its own name.
SetToWrite setForImport(const ImportedSet& imported);

}  // namespace vorel
