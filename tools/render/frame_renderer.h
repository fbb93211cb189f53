// The render loop of vorel-render: plays frames 1, 2, ... exactly as the viewer's display
// callback does, starting dances at their frames, and saves or times the frames asked for.
#pragma once

#include <string>

#include "headless/gif_animation.h"
#include "tools/common/progress_line.h"
#include "tools/render/render_options.h"

namespace vorel {

// Needs the figure installed and a current context set up with initGL and reshape. Saves the
// selected frames, one file each or one contact sheet, telling progress how far it is. False,
// with problem set, when a file cannot be written.
bool renderFrames(const RenderOptions& options, ProgressLine& progress, std::string& problem);
// The same, for --gif: the selected frames, scaled, into one looping GIF.
bool renderGif(const RenderOptions& options, ProgressLine& progress, GifSummary& summary,
               std::string& problem);
// Draws frames 1 to options.benchmarkFrames, waiting for each to finish; returns the rate.
double measureFramesPerSecond(const RenderOptions& options);

}  // namespace vorel
