// recordSession and recordAnimations: the motions vorel-export writes, played on the
// viewer's own figure (app_state.h) with its time step, so what is recorded is what the
// viewer would show frame by frame.
#pragma once

#include <string>
#include <vector>

#include "anim/recorded_motion.h"
#include "assets/bone_data.h"
#include "tools/common/dance_start.h"

namespace vorel {

// The viewer's frames 1 to `frames` with the dances started as vorel-inspect pose and
// vorel-render start them; frame k is keyed at (k - 1) / 100 times `speed` glTF seconds, one
// key per frame for every bone. The installed figure has played the session afterwards.
RecordedMotion recordSession(const std::vector<DanceStart>& dances, int frames, double speed,
                             const std::vector<const BoneData*>& bones);

// Each named animation of the library, played alone from its start until it expires. False,
// with problem set, when one lasts longer than an export records.
bool recordAnimations(const std::vector<std::string>& names, double speed,
                      const std::vector<const BoneData*>& bones,
                      std::vector<RecordedMotion>& motions, std::string& problem);

}  // namespace vorel
