// buildDanceAnimation: turns a dance into an animation record: one track per bone the dance
// moves, keyed at every beat.
#pragma once

#include <memory>
#include <string>

#include "assets/animation_data.h"
#include "dancer/dance.h"
#include "dancer/skeleton_layout.h"

namespace vorel {

// Null, with error set, when a beat names an unknown pose or a pose an unknown bone.
std::unique_ptr<AnimationData> buildDanceAnimation(const Dance& dance, const PoseBook& poses,
                                                   const SkeletonLayout& skeleton,
                                                   std::string& error);

}  // namespace vorel
