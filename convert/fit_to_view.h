// Fitting a model to Vorel's fixed view: the camera never moves, so a character is scaled
// uniformly and moved to stand on the default dancer's ground line, at about its height,
// centred on the vertical axis. Works on Vorel records only, so every importer shares it.
#pragma once

#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"
#include "math/vector3.h"

namespace vorel {

// The default dancer's soles and standing height in model units (+Y up).
constexpr float ViewGroundHeight = 88.0f;
constexpr float ViewStandingHeight = 221.0f;

struct ViewFit {
    float scale = 1.0f;
    Vector3 offset;
    // The scale is below the one for the height asked: at that height some vertex of the bind
    // pose would leave the picture at some turn.
    bool narrowedToView = false;
};

// The fit that puts the bind pose's lowest point on the ground line, its height at
// `height`, and the middle of its extent in x and z on the axis; a model without height
// keeps scale 1. When at that scale a vertex would leave the viewer's fixed picture at some
// spin angle, the scale is the largest that keeps every vertex in.
ViewFit fitForView(const ModelData& model, float height);

// Applies p' = scale * p + offset to positions and bone points (rest matrices rebuilt) and
// scales every track's translation keys; rotations and scales are unchanged by a uniform fit.
void applyFit(const ViewFit& fit, ModelData& model, const std::vector<AnimationData*>& animations);

}  // namespace vorel
