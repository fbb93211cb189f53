#include "retarget/view_check.h"

#include "app/fixed_view.h"
#include "retarget/animation_poser.h"

namespace vorel {

int firstFrameOutOfView(const ModelData& model, const AnimationData& animation, int frameCount,
                        double frameTime) {
    AnimationPoser poser(model, animation);
    for (int f = 0; f < frameCount; ++f) {
        poser.pose(static_cast<float>(f * frameTime));
        for (const Vector3& p : poser.positions()) {
            if (!insideViewAtEveryTurn(p)) return f;
        }
    }
    return -1;
}

}  // namespace vorel
