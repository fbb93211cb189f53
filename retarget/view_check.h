// firstFrameOutOfView: whether a figure playing an animation stays in the viewer's fixed
// picture, as the viewer's spin may turn it to any angle (app/fixed_view.h).
#pragma once

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel {

// The first frame (0-based, frames `frameTime` apart over `frameCount` frames) at which a
// skinned vertex leaves the picture at some turn, or -1 when none does.
int firstFrameOutOfView(const ModelData& model, const AnimationData& animation, int frameCount,
                        double frameTime);

}  // namespace vorel
