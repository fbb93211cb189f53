// Figure: the animated character: one model instance per library model, one clip per library
// animation, and the list of playing animations blended onto the first instance each frame.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "anim/active_animation.h"
#include "anim/animation_clip.h"
#include "anim/pose_blend.h"
#include "assets/asset_library.h"
#include "skeleton/bone_node.h"
#include "skeleton/bone_walk.h"
#include "skeleton/model_instance.h"

namespace vorel {

class Figure {
  public:
    // NOTE: the library must hold at least one model and no null entries; start-up refuses
    // to build a figure otherwise, and the figure relies on it.
    explicit Figure(const AssetLibrary* assetLibrary);
    virtual ~Figure();
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // Fills in hash, clip and id of the record, appends a copy and returns the id; 0 and no
    // change when the library has no animation of that name. The id is the low 32 bits of the
    // hash rounded to a float plus the start time, truncated; ids are not unique.
    std::int32_t startAnimation(ActiveAnimation& animation);
    // Removes the oldest playing record with that id, if any.
    void stopAnimation(std::int32_t id);
    // One frame: expire, blend, skin, advance. Allocates nothing once warmed up.
    // NOTE: relies on instances[currentModel] existing (start-up guarantees a model).
    void update(float step);
    // Blends every playing record onto every bone of the current instance.
    void applyAnimations();

    // The steps of update that do not touch the instance, for recorders that need the blended
    // transforms themselves (an exporter, through a PoseBlend of its own) and no skinned
    // mesh: the records past their duration leave the playing list; every record moves on
    // by step.
    void retireExpired();
    void advanceLocalTimes(float step);

    const AssetLibrary* library;
    std::vector<std::unique_ptr<ModelInstance>> instances;
    std::vector<std::unique_ptr<AnimationClip>> clips;
    std::int32_t currentModel = 0;
    // Oldest first; new records go to the back.
    std::list<ActiveAnimation> playing;

  private:
    // Moves the front record of spareRecords (or a new one) to the back of playing.
    void appendRecord(const ActiveAnimation& animation);
    void retire(std::list<ActiveAnimation>::iterator record);

    // One instance's bones in the pre-order walk and their blend.
    struct PosedBones {
        std::vector<BoneNode*> nodes;
        PoseBlend blend;
    };
    PosedBones poseBonesOf(ModelInstance& instance) const;

    // Per instance, in the order of instances.
    std::vector<PosedBones> posedBones;
    // List nodes of retired records, reused by startAnimation so that starting a dance does
    // not allocate once as many have played at once before.
    std::list<ActiveAnimation> spareRecords;
};

}  // namespace vorel
