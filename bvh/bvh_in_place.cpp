// holdRootsInPlace: the channels are found once, then copied frame by frame.
#include "bvh/bvh_in_place.h"

#include <vector>

namespace vorel {

void holdRootsInPlace(BvhMotion& motion) {
    std::vector<std::size_t> horizontal;
    for (const BvhJoint& joint : motion.joints) {
        if (joint.parent >= 0) continue;
        for (std::size_t c = 0; c < joint.channels.size(); ++c) {
            const BvhChannel channel = joint.channels[c];
            if (channel == BvhChannel::Xposition || channel == BvhChannel::Zposition)
                horizontal.push_back(static_cast<std::size_t>(joint.firstValue) + c);
        }
    }
    const auto perFrame = static_cast<std::size_t>(motion.valuesPerFrame);
    for (std::size_t frame = 1; frame < static_cast<std::size_t>(motion.frameCount); ++frame) {
        for (const std::size_t value : horizontal)
            motion.values[frame * perFrame + value] = motion.values[value];
    }
}

}  // namespace vorel
