#include "retarget/contact_quality.h"

#include <algorithm>

#include "retarget/animation_poser.h"

namespace vorel {

void ContactQuality::addPath(const std::vector<Point3d>& path,
                             const std::vector<ContactSpan>& spans, double height,
                             double frameTime) {
    for (const ContactSpan& span : spans) {
        contactFrames += span.last - span.first + 1;
        const Point3d& start = path[static_cast<std::size_t>(span.first)];
        for (int f = span.first; f <= span.last; ++f) {
            const Point3d& at = path[static_cast<std::size_t>(f)];
            worstDrift = std::max(worstDrift, length(difference(at, start)) / height);
            if (f == span.first) continue;
            speedSum_ += length(difference(at, path[static_cast<std::size_t>(f - 1)])) /
                         (frameTime * height);
            ++steps_;
        }
    }
    footSpeed = steps_ > 0 ? speedSum_ / steps_ : 0.0;
}

ContactQuality resultQuality(const ModelData& model, const AnimationData& animation, int frameCount,
                             double frameTime, const std::vector<LegContacts>& contacts,
                             double height, double ground, double lowest) {
    ContactQuality quality;
    quality.deepest = std::max(0.0, ground - lowest) / height;
    if (contacts.empty()) return quality;
    AnimationPoser poser(model, animation);
    const std::size_t count = static_cast<std::size_t>(frameCount);
    std::vector<std::vector<Point3d>> ankles(contacts.size(), std::vector<Point3d>(count));
    std::vector<std::vector<Point3d>> toes = ankles;
    for (std::size_t f = 0; f < count; ++f) {
        poser.poseBones(static_cast<float>(static_cast<double>(f) * frameTime));
        for (std::size_t leg = 0; leg < contacts.size(); ++leg) {
            const std::size_t foot = contacts[leg].leg.foot;
            const Matrix4& world = poser.boneWorlds()[foot];
            const BoneData& bone = *poser.bones().bones[foot];
            ankles[leg][f] = toPoint3d(transformPoint(world, bone.head));
            toes[leg][f] = toPoint3d(transformPoint(world, bone.tail));
        }
    }
    for (std::size_t leg = 0; leg < contacts.size(); ++leg) {
        quality.addPath(ankles[leg], contacts[leg].ankle, height, frameTime);
        quality.addPath(toes[leg], contacts[leg].toe, height, frameTime);
    }
    return quality;
}

}  // namespace vorel
