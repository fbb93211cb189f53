// ContactQuality: how well a motion keeps its feet where the source's feet rest, in the
// figure's heights: how fast a foot joint moves while in contact, how far it drifts within
// one contact, and how deep anything goes under the floor. The same measure is taken of the
// source and of the result, over the source's contact spans.
#pragma once

#include <vector>

#include "assets/animation_data.h"
#include "assets/model_data.h"
#include "retarget/foot_planter.h"

namespace vorel {

struct ContactQuality {
    // Joint frames in contact, summed over the joints measured.
    int contactFrames = 0;
    // The mean speed over steps between two contact frames, in heights per second.
    double footSpeed = 0.0;
    // The farthest a joint gets, within one span, from where the span started, in heights.
    double worstDrift = 0.0;
    // The deepest point under the floor, in heights; 0 when nothing goes under.
    double deepest = 0.0;

    // Adds one joint's path over its spans (heights and times as given).
    void addPath(const std::vector<Point3d>& path, const std::vector<ContactSpan>& spans,
                 double height, double frameTime);

  private:
    double speedSum_ = 0.0;
    int steps_ = 0;
};

// The result's quality over the source's contacts: each leg's foot bone head (the ankle) over
// the ankle's spans and its tail (the toe) over the toe's, as the animation poses them, and
// the lowest vertex `lowest` under the floor `ground`, in heights of `height`.
ContactQuality resultQuality(const ModelData& model, const AnimationData& animation, int frameCount,
                             double frameTime, const std::vector<LegContacts>& contacts,
                             double height, double ground, double lowest);

}  // namespace vorel
