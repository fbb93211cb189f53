// importBvh: a BVH motion capture as a Vorel set in memory: its own figure (bvh_figure.h)
// and the motion as one animation, fitted to the view as a glTF import is. The result is an
// ImportedSet like any import, so setForImport and the tool's summary serve both.
#pragma once

#include <string>

#include "assets/load_error.h"
#include "bvh/bvh_motion.h"
#include "convert/imported_set.h"

namespace vorel {

struct BvhImportSummary {
    std::size_t jointCount = 0;
    std::size_t endSiteCount = 0;
    int channelCount = 0;
    int frameCount = 0;
    double frameTime = 0.0;
};

// False, with error set ("FILE: line N: ..." for the reader's failures), when the file is not
// a BVH file the reader accepts, has no frames, no joint at a distance from another, or more
// motion than an animation file holds. options.keys must be empty: a capture is one motion.
bool importBvh(const std::string& path, const ImportOptions& options, ImportedSet& result,
               BvhImportSummary& summary, LoadError& error);
// The same from text in memory.
bool importBvhText(const std::string& text, const std::string& path, const ImportOptions& options,
                   ImportedSet& result, BvhImportSummary& summary, LoadError& error);

}  // namespace vorel
