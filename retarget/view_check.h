// checkView: whether a figure playing an animation stays in the viewer's fixed picture, as
// the viewer's spin may turn it to any angle (app/fixed_view.h), and whether the animation's
// travel across the floor is what takes it out.
#pragma once

#include <string>

#include "assets/animation_data.h"
#include "assets/model_data.h"

namespace vorel {

struct ViewReport {
    // Frames (0-based) at which a skinned vertex leaves the picture at some turn.
    int framesOut = 0;
    int firstOut = -1;
    int lastOut = -1;
    // The same count with the first top-level bone's horizontal travel taken away (each
    // frame's vertices moved back by it); -1 when not checked.
    int framesOutInPlace = -1;
    // Frames at which the figure's middle (the first top-level bone's head) is out of the
    // picture at some turn: the figure is gone, not only a hand past the edge.
    int framesGone = 0;
    // The lowest height a vertex reaches in any frame; found only when asked for.
    double lowest = 0.0;
};

// Poses frames 0 to frameCount - 1, frameTime apart; with compareInPlace, again without the
// travel; with findLowest, the lowest vertex too.
ViewReport checkView(const ModelData& model, const AnimationData& animation, int frameCount,
                     double frameTime, bool compareInPlace, bool findLowest = false);

// The first frame out of the picture, or -1 when none is.
int firstFrameOutOfView(const ModelData& model, const AnimationData& animation, int frameCount,
                        double frameTime);

// Empty when every frame stays in the picture; otherwise one line saying which frames leave
// it and, when the travel is the cause, that --in-place keeps it in.
std::string viewWarning(const ViewReport& report, int frameCount, double frameTime);

}  // namespace vorel
