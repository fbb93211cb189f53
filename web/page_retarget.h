// retargetIntoPage: the motion of a file the page imported put on the default dancer by
// vorel-retarget's own code, with its built-in bone maps or a map file, and shown on key 1.
#pragma once

#include <string>

#include "web/webgl_figure_renderer.h"

namespace vorel {

// Retargets SOURCE (a BVH capture, or a glTF or FBX file's ANIMATION) onto the dancer of
// DANCER_MANIFEST, with the bone map in MAP_PATH as vorel-retarget --map reads it (empty: the
// built-in maps), writes the dancer's set with the motion under key 1's dance name into
// SET_FOLDER and shows it. False, with problem set to the tool's one line, when it cannot;
// the set shown before then stays.
bool retargetIntoPage(const std::string& sourcePath, const std::string& animation,
                      const std::string& mapPath, const std::string& dancerManifest,
                      const std::string& setFolder, WebGLFigureRenderer& renderer,
                      std::string& problem);

}  // namespace vorel
