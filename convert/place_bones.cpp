// Bone lengths from the distances between joints, then each bone's points.
#include "convert/place_bones.h"

#include <algorithm>

namespace vorel {

namespace {

double skeletonExtent(const std::vector<AffineTransform>& frames) {
    double extent = 0.0;
    for (const AffineTransform& a : frames) {
        for (const AffineTransform& b : frames) {
            extent = std::max(extent, length(difference(a.translation, b.translation)));
        }
        if (frames.size() > 64) break;  // a sample of bones is enough for a length scale
    }
    return extent > 0.0 ? extent : 1.0;
}

}  // namespace

void placeBones(ImportedSkeleton& skeleton) {
    const std::size_t count = skeleton.boneNode.size();
    const double extent = skeletonExtent(skeleton.restFrame);
    std::vector<double> lengths(count, 0.0);
    std::vector<int> childShown(count, -1);
    // Bones are in pre-order, so a parent comes before its children.
    for (std::size_t b = count; b-- > 0;) {
        const int parent = skeleton.boneParent[b];
        if (parent < 0) continue;
        const double distance =
            length(difference(skeleton.restFrame[b].translation,
                              skeleton.restFrame[static_cast<std::size_t>(parent)].translation));
        if (distance > extent * 1e-4)
            childShown[static_cast<std::size_t>(parent)] = static_cast<int>(b);
    }
    skeleton.points.resize(count);
    for (std::size_t b = 0; b < count; ++b) {
        const int child = childShown[b];
        const int parent = skeleton.boneParent[b];
        Point3d childOrigin;
        if (child >= 0) {
            childOrigin = skeleton.restFrame[static_cast<std::size_t>(child)].translation;
            lengths[b] = length(difference(childOrigin, skeleton.restFrame[b].translation));
        } else {
            lengths[b] =
                parent >= 0 ? 0.5 * lengths[static_cast<std::size_t>(parent)] : 0.1 * extent;
            if (!(lengths[b] > 0.0)) lengths[b] = 0.1 * extent;
        }
        skeleton.points[b] = bonePointsForJoint(skeleton.restFrame[b],
                                                child >= 0 ? &childOrigin : nullptr, lengths[b]);
    }
}

}  // namespace vorel
