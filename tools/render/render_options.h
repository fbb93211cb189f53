// RenderOptions: what vorel-render was asked to do, parsed from its command line.
#pragma once

#include <string>
#include <vector>

#include "tools/common/dance_start.h"
#include "tools/common/frame_selection.h"

namespace vorel {

struct RenderOptions {
    // The manifest to load; the files it names are found relative to its folder.
    std::string manifest;
    // Frames to save; frame N is the viewer's N-th frame, drawn at spin angle N - 1.
    FrameSelection frames;
    std::vector<DanceStart> dances;
    // Folder for frame-NNNN.png files.
    std::string outputFolder = ".";
    // When set, the frames are tiled into this one PNG instead of one file each.
    std::string sheetPath;
    int sheetColumns = 4;
    // When set, the frames go into this one looping animated GIF instead.
    std::string gifPath;
    // The rate the GIF plays the viewer's frames at; 0 until --fps is given (then 50).
    int framesPerSecond = 0;
    // How many times each GIF frame is halved in size; -1 until --scale is given (then 1).
    int gifHalvings = -1;
    // When above 0: draw this many frames, write nothing, print frames per second.
    int benchmarkFrames = 0;
    bool showHelp = false;
};

// Most frames a contact sheet takes, so a sheet stays a picture one can look at.
constexpr int MaxSheetFrames = 64;
// A GIF's frame rate: browsers show a delay under 2/100 s as 1/10 s, so 50 is the fastest
// rate a GIF plays as asked.
constexpr int MaxGifFramesPerSecond = 50;

// False, with problem set to one line, for any usage error. --help parses to showHelp alone.
bool parseRenderOptions(const std::vector<std::string>& arguments, RenderOptions& options,
                        std::string& problem);
// The --help text.
std::string renderUsage();

}  // namespace vorel
