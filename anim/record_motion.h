// Recording the figure's own blended bone transforms, frame by frame, for the exporter: the
// runtime's AnimationTrack::sample and blend, its float accumulation of local times and its
// expiry, with no skinning (the exporter needs the transforms, not the mesh).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "anim/recorded_motion.h"
#include "assets/bone_data.h"
#include "assets/model_data.h"

namespace vorel {

// Longest run an export records, in frames: 1000 seconds of the viewer's clock. A duration
// beyond it (or one that is not a number, which never expires) is refused before recording.
constexpr std::size_t MaxRecordedFrames = 100000;
// Most bone transforms one motion may hold (frames times bones), about 640 MB.
constexpr std::size_t MaxRecordedTransforms = std::size_t{16} << 20;

// The model's bones in the pre-order walk, the order of the exported joints.
std::vector<const BoneData*> bonesInWalkOrder(const ModelData& model);

// Appends the blend of every playing record for each bone, as the figure's update would
// apply it now, with the given key time. Retires expired records first, as update does.
void recordFrame(Figure& figure, const std::vector<const BoneData*>& bones, float keyTime,
                 RecordedMotion& motion);

// Plays the named animation alone on a figure with nothing playing, from local time 0 and
// `step` per frame, recording every frame until the record expires; key times are the local
// times times `speed`. False, with problem set, when the figure has no such animation, or
// its duration asks for more than MaxRecordedFrames or MaxRecordedTransforms.
bool recordAnimation(Figure& figure, const std::string& name,
                     const std::vector<const BoneData*>& bones, float step, double speed,
                     RecordedMotion& motion, std::string& problem);

}  // namespace vorel
