// showManifest: replaces the set the page shows by the one a manifest names, loaded and
// checked as the viewer loads it at start-up. A set that cannot be used leaves the shown one.
#pragma once

#include <string>

#include "web/webgl_figure_renderer.h"

namespace vorel {

// False, with problem set to the viewer's one line, when the manifest cannot be used; the
// figure and library shown before stay. Otherwise both are replaced and the clock, turn and
// playing dances start afresh, as when the viewer starts.
bool showManifest(const std::string& manifestPath, WebGLFigureRenderer& renderer,
                  std::string& problem);

// The manifest of the set shown now, as it was named to showManifest; empty before the first.
const std::string& shownManifestPath();

}  // namespace vorel
