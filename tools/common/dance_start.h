// DanceStart: a dance a tool is asked to start by name before a given frame, as if its key
// were pressed then. Parsed from NAME@FRAME and checked against the library before a run.
#pragma once

#include <string>
#include <vector>

#include "assets/asset_library.h"

namespace vorel {

// A dance started as if its key were pressed just before the given frame was drawn, so that
// frame shows it at local time 0.
struct DanceStart {
    std::string name;
    int frame = 1;
};

// NAME@FRAME, split at the last '@'; the name must not be empty and FRAME is a frame number.
bool parseDanceStart(const std::string& text, DanceStart& dance);
// The first dance name the library lacks, or an empty string. The viewer ignores such a key;
// a tool asked for it by name says so instead of drawing something else.
std::string findUnknownDance(const std::vector<DanceStart>& dances, const AssetLibrary& library);

}  // namespace vorel
