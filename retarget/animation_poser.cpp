#include "retarget/animation_poser.h"

namespace vorel {

AnimationPoser::AnimationPoser(const ModelData& model, const AnimationData& animation)
    : list_(listBones(model)), instance_(&model), clip_(&animation), worlds_(list_.bones.size()) {}

void AnimationPoser::pose(float time) {
    poseBones(time);
    instance_.skin();
}

void AnimationPoser::poseBones(float time) {
    instance_.resetPose();
    clip_.sample(time);
    std::size_t next = 0;
    // The instance's tree mirrors the model's, so its pre-order is the list's order.
    walkBones(instance_.root.get(), Matrix4::Identity, pending_,
              [this, &next](BoneNode& node, const Matrix4& parentWorld) {
                  const TrackRange tracks = clip_.tracksNaming(node.bone->nameHash);
                  if (tracks.begin() != tracks.end())
                      node.setTransform(clip_.pose(tracks.begin()->track));
                  worlds_[next] = composeAffine(node.local, parentWorld);
                  return worlds_[next++];
              });
}

}  // namespace vorel
