// Small but complete models and animations that exercise every section of the file formats;
// shared by the asset tests and the fuzz seed generator.
#pragma once

#include <memory>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel::test_support {

// Two materials, two named records, six positions, three normals, two faces (one with two
// layers), and the four bones with flags (1,0), (1,1), (0,0), (0,0): root, child, grandchild,
// and the child's sibling.
std::unique_ptr<ModelData> makeSampleModel();

// The sample model as version 3: position 3 leaves "head" and position 5 leaves "leg" to be
// weighted, 3 between "head" and "spine" (0.25, 0.75) and 5 among "leg", "root" and "spine"
// (0.5, 0.25, 0.25).
std::unique_ptr<ModelData> makeSampleWeightedModel();

// Two tracks ("hip", "knee"); channels hold 9- and 25-byte keys, one channel a single key, one
// channel the keys 0, 1, 1, 1, 2 whose third key stops the tangent computation, one none.
std::unique_ptr<AnimationData> makeSampleAnimation();

}  // namespace vorel::test_support
