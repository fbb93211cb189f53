// PoseBlend: the bindings of each clip's tracks to the bones, made once, and the per-frame
// sample and fold, in lanes where a clip's tracks line up with the blend's slots.
#include "anim/pose_blend.h"

#include <algorithm>

#include "anim/lane_transform.h"

namespace vorel {

namespace {

// Translation, scale and rotation, the fields of one blend in its slot's lanes.
constexpr std::size_t Fields = 10;
constexpr std::uint32_t NoSlot = UINT32_MAX;
constexpr float NeutralFields[Fields] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                         1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// The fold of one sample into a blend: the translations add, the scales multiply and the
// rotation turns by the sample's first (Quaternion::multiply's operations, in its order).
template <typename Value>
void foldInto(Value* blend, const Value* sample) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        blend[axis] = blend[axis] + sample[axis];
        blend[3 + axis] = blend[3 + axis] * sample[3 + axis];
    }
    const Value px = blend[6], py = blend[7], pz = blend[8], pw = blend[9];
    const Value* q = sample + 6;
    blend[6] = pw * q[0] + q[3] * px + (pz * q[1] - py * q[2]);
    blend[7] = pw * q[1] + q[3] * py + (px * q[2] - pz * q[0]);
    blend[8] = pw * q[2] + q[3] * pz + (py * q[0] - px * q[1]);
    blend[9] = pw * q[3] - (px * q[0] + py * q[1] + pz * q[2]);
}

}  // namespace

PoseBlend::PoseBlend(const std::vector<std::uint32_t>& boneHashes,
                     const std::vector<std::unique_ptr<AnimationClip>>& clips)
    : slotOf_(boneHashes.size(), NoSlot), blends_(boneHashes.size()) {
    for (const std::unique_ptr<AnimationClip>& clip : clips) {
        ClipBindings bound{clip.get(), {}, false, {}};
        for (std::size_t bone = 0; bone < boneHashes.size(); ++bone) {
            for (const TrackMatch& match : clip->tracksNaming(boneHashes[bone])) {
                bound.bindings.push_back({match.track, static_cast<std::uint32_t>(bone)});
            }
        }
        clips_.push_back(std::move(bound));
    }
    placeSlots(clips);
    for (ClipBindings& bound : clips_) bindLanes(bound);
}

// The first clip whose tracks and bones pair off one to one puts each bone in the slot of
// its track, so that it and every clip with the same track order fold in lanes; the other
// bones take the slots after them.
void PoseBlend::placeSlots(const std::vector<std::unique_ptr<AnimationClip>>& clips) {
    std::uint32_t nextSlot = 0;
    for (const ClipBindings& bound : clips_) {
        std::vector<std::uint32_t> trackOf(slotOf_.size(), NoSlot);
        std::vector<bool> trackBound(bound.clip->lanes().size(), false);
        bool oneToOne = !bound.bindings.empty();
        for (const TrackBinding& binding : bound.bindings) {
            oneToOne = oneToOne && trackOf[binding.bone] == NoSlot && !trackBound[binding.track];
            trackOf[binding.bone] = binding.track;
            trackBound[binding.track] = true;
        }
        if (!oneToOne) continue;
        slotOf_ = trackOf;
        nextSlot = static_cast<std::uint32_t>(bound.clip->lanes().size());
        break;
    }
    for (std::uint32_t& slot : slotOf_) {
        if (slot == NoSlot) slot = nextSlot++;
    }
    std::size_t blocks = (nextSlot + LaneCount - 1) / LaneCount;
    for (const std::unique_ptr<AnimationClip>& clip : clips) {
        blocks = std::max(blocks, clip->lanes().blockCount());
    }
    slots_.resize(blocks * Fields);
}

void PoseBlend::bindLanes(ClipBindings& bound) const {
    bound.foldsInLanes = std::all_of(
        bound.bindings.begin(), bound.bindings.end(),
        [this](const TrackBinding& binding) { return slotOf_[binding.bone] == binding.track; });
    if (!bound.foldsInLanes) return;
    bound.namedLanes.assign(bound.clip->lanes().blockCount(), IntLanes{});
    for (const TrackBinding& binding : bound.bindings) {
        bound.namedLanes[binding.track / LaneCount][binding.track % LaneCount] = -1;
    }
}

const std::vector<BoneTransform>& PoseBlend::blend(const std::list<ActiveAnimation>& playing) {
    for (std::size_t f = 0; f < slots_.size(); ++f) {
        slots_[f] = splatLanes(NeutralFields[f % Fields]);
    }
    for (const ActiveAnimation& record : playing) {
        for (ClipBindings& bound : clips_) {
            if (bound.clip != record.clip || bound.bindings.empty()) continue;
            bound.clip->sample(record.localTime);
            if (bound.foldsInLanes) {
                foldLanes(bound);
            } else {
                foldOneByOne(bound);
            }
        }
    }
    for (std::size_t bone = 0; bone < blends_.size(); ++bone) {
        blends_[bone] = transformInLane(&slots_[slotOf_[bone] / LaneCount * Fields],
                                        static_cast<int>(slotOf_[bone] % LaneCount));
    }
    return blends_;
}

// Block b of the clip's tracks into the slots' block b, leaving the lanes that name no bone.
void PoseBlend::foldLanes(const ClipBindings& bound) {
    const TrackLanes& lanes = bound.clip->lanes();
    for (std::size_t block = 0; block < bound.namedLanes.size(); ++block) {
        const IntLanes named = bound.namedLanes[block];
        if (laneBits(named) == 0) continue;
        FloatLanes* blend = &slots_[block * Fields];
        FloatLanes folded[Fields];
        std::copy(blend, blend + Fields, folded);
        foldInto(folded, lanes.blockValues(block));
        for (std::size_t f = 0; f < Fields; ++f) blend[f] = selectLanes(named, folded[f], blend[f]);
    }
}

void PoseBlend::foldOneByOne(const ClipBindings& bound) {
    const TrackLanes& lanes = bound.clip->lanes();
    for (const TrackBinding& binding : bound.bindings) {
        FloatLanes* blend = &slots_[slotOf_[binding.bone] / LaneCount * Fields];
        const auto slotLane = static_cast<int>(slotOf_[binding.bone] % LaneCount);
        const FloatLanes* sampled = lanes.blockValues(binding.track / LaneCount);
        const auto trackLane = static_cast<int>(binding.track % LaneCount);
        float folded[Fields];
        float sample[Fields];
        for (std::size_t f = 0; f < Fields; ++f) {
            folded[f] = blend[f][slotLane];
            sample[f] = sampled[f][trackLane];
        }
        foldInto(folded, sample);
        for (std::size_t f = 0; f < Fields; ++f) blend[f][slotLane] = folded[f];
    }
}

}  // namespace vorel
