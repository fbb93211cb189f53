// AnimationPoser: one model posed by one animation at any clock time, the way the viewer
// poses it (each bone's first track sampled, local matrices, skinning), for the tools that
// need the posed bones or vertices of an animation without a window.
#pragma once

#include <memory>
#include <vector>

#include "anim/animation_clip.h"
#include "assets/animation_data.h"
#include "assets/model_data.h"
#include "math/matrix4.h"
#include "skeleton/bone_list.h"
#include "skeleton/model_instance.h"

namespace vorel {

class AnimationPoser {
  public:
    // Neither is owned; both must outlive the poser.
    AnimationPoser(const ModelData& model, const AnimationData& animation);

    // Poses the bones at the clock time and skins the vertices.
    void pose(float time);
    // Poses the bones only: boneWorlds() follow the time, positions() do not.
    void poseBones(float time);

    // The model's bones in pre-order, and each one's world matrix (bind-pose model space to
    // posed model space) after the last pose().
    const BoneList& bones() const { return list_; }
    const std::vector<Matrix4>& boneWorlds() const { return worlds_; }
    // The skinned positions after the last pose().
    const std::vector<Vector3>& positions() const { return instance_.positions; }

  private:
    BoneList list_;
    ModelInstance instance_;
    AnimationClip clip_;
    std::vector<Matrix4> worlds_;
    std::vector<PendingBone<BoneNode, Matrix4>> pending_;
};

}  // namespace vorel
