// recordSession and recordSetAnimations: the motions vorel-export and the page's download
// write, played with the viewer's time step, so what is recorded is what the viewer would
// show frame by frame.
#pragma once

#include <string>
#include <vector>

#include "anim/figure.h"
#include "anim/recorded_motion.h"
#include "assets/bone_data.h"
#include "tools/common/dance_start.h"
#include "tools/common/manifest_files.h"

namespace vorel {

// The viewer's frames 1 to `frames` with the dances started as vorel-inspect pose and
// vorel-render start them, on the installed figure (app_state.h); frame k is keyed at
// (k - 1) / 100 times `speed` glTF seconds, one key per frame for every bone. The installed
// figure has played the session afterwards.
RecordedMotion recordSession(const std::vector<DanceStart>& dances, int frames, double speed,
                             const std::vector<const BoneData*>& bones);

// Each animation of the figure's library whose file no later manifest entry reads again
// (distinctAnimations), played alone on FIGURE from its start until it expires. FIGURE must
// have nothing playing and be built on the library FILES describes: a figure of its own
// records without touching the one on screen. False, with problem set, when an animation
// lasts longer than an export records.
bool recordSetAnimations(Figure& figure, const ManifestFiles& files, double speed,
                         const std::vector<const BoneData*>& bones,
                         std::vector<RecordedMotion>& motions, std::string& problem);

}  // namespace vorel
