// PoseBlend: the blend of every playing record onto a list of bones. Each record's clip is
// sampled once, at the record's local time, all its tracks together; each sampled track is
// then folded into the bones it names. A bone's blend takes the records in playing order and,
// within one record, its tracks in track order: the order of a blend bone by bone.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "anim/active_animation.h"
#include "anim/animation_clip.h"
#include "math/float_lanes.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class PoseBlend {
  public:
    // boneHashes: the name hash of each bone blended, in the order of blends(); the clips are
    // not owned and must outlive the blend.
    PoseBlend(const std::vector<std::uint32_t>& boneHashes,
              const std::vector<std::unique_ptr<AnimationClip>>& clips);

    // Zero translation, unit scale and identity rotation for every bone, with every track of
    // every playing record that names it folded in. A record whose clip is not one of the
    // blend's blends nothing. Allocates nothing.
    const std::vector<BoneTransform>& blend(const std::list<ActiveAnimation>& playing);

  private:
    // One track of a clip and one bone it names.
    struct TrackBinding {
        std::uint32_t track;
        std::uint32_t bone;
    };
    struct ClipBindings {
        AnimationClip* clip;
        std::vector<TrackBinding> bindings;
        // Set when each track names at most one bone and each bone that a track names sits
        // in the slot of the track's lane: the clip's blocks of four tracks then fold into
        // the slots block for block, in lanes.
        bool foldsInLanes;
        // Per block of tracks, the lanes whose track names a bone.
        std::vector<IntLanes> namedLanes;
    };

    void placeSlots(const std::vector<std::unique_ptr<AnimationClip>>& clips);
    void bindLanes(ClipBindings& bound) const;
    void foldLanes(const ClipBindings& bound);
    void foldOneByOne(const ClipBindings& bound);

    std::vector<ClipBindings> clips_;
    // Per bone, its slot: lane slot % 4 of the slots' block slot / 4.
    std::vector<std::uint32_t> slotOf_;
    // The blends in blocks of four slots, ten fields each (translation, scale, rotation).
    std::vector<FloatLanes> slots_;
    std::vector<BoneTransform> blends_;
};

}  // namespace vorel
