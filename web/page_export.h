// exportShownSet: what the page shows, written as binary glTF by vorel-export's own code, for
// the page's "Download .glb". The script hands the file to the person as a download.
#pragma once

#include <string>

namespace vorel {

// Writes the shown set's first model and every animation of its manifest, each played alone
// as vorel-export plays it (100 viewer frames to the glTF second), to OUTPUT_PATH as one .glb,
// whole or not at all. The animations are recorded on a figure of their own: what plays on
// screen goes on untouched. False, with problem set to one line, when nothing is shown or
// the set cannot be written as glTF.
bool exportShownSet(const std::string& outputPath, std::string& problem);

}  // namespace vorel
