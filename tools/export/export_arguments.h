// The command line of vorel-export: its usage text and the parsing of its options.
#pragma once

#include <string>
#include <vector>

#include "gltf/write_gltf_file.h"
#include "tools/common/dance_start.h"

namespace vorel {

struct ExportArguments {
    std::string manifest;
    std::string output;
    GltfContainer container = GltfContainer::Binary;
    // glTF seconds per unit of the animation clock.
    double speed = 1.0;
    // The session to bake; empty: every animation of the manifest on its own.
    std::vector<DanceStart> bake;
    int frames = 0;
    bool helpRequested = false;
};

extern const char* const ExportUsage;

// False, with problem set, for an unknown option, a bad value, --bake without --frames (or
// the reverse), a dance starting after the last frame, a wrong operand count, or --gltf with an
// OUT ending in .bin (the buffer would overwrite it).
bool parseExportArguments(const std::vector<std::string>& arguments, ExportArguments& parsed,
                          std::string& problem);

}  // namespace vorel
