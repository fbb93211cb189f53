// importIntoPage: a file the person dropped or chose, imported by vorel-import's own code into
// a set folder in the page's file system and shown in place of the set shown before.
#pragma once

#include <string>
#include <vector>

#include "web/webgl_figure_renderer.h"

namespace vorel {

struct PageImport {
    // The file's animations that keys 1, 2, ... play, by name.
    std::vector<std::string> keyNames;
    // The file holds motion alone (an FBX skeleton with animation stacks, no mesh, as motion
    // libraries hand them out): nothing was shown, but keyNames can be retargeted.
    bool motionOnly = false;
};

// False, with problem set to the one line vorel-import would print, when the file cannot be
// imported or shown; the set shown before then stays, as it does for a file of motion alone.
// INPUT is a BVH capture, an FBX file (binary or ASCII) or a glTF file, whose external buffers
// are read from beside it.
bool importIntoPage(const std::string& inputPath, const std::string& setFolder,
                    WebGLFigureRenderer& renderer, PageImport& imported, std::string& problem);

}  // namespace vorel
