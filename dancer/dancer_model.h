// buildDancerModel: the dancer as a model record ready to be written: the body surfaces and
// the skeleton, every vertex listed under the one bone that carries it.
#pragma once

#include <memory>

#include "assets/model_data.h"
#include "dancer/body_proportions.h"
#include "dancer/skeleton_layout.h"

namespace vorel {

std::unique_ptr<ModelData> buildDancerModel(const BodyProportions& body,
                                            const SkeletonLayout& skeleton);

}  // namespace vorel
