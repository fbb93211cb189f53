// retargetIntoPage: load the dancer, retarget, write the set whole, then show it; any step that
// fails leaves the page as it was.
#include "web/page_retarget.h"

#include <memory>

#include "assets/dance_names.h"
#include "assets/write_set.h"
#include "retarget/retarget_file.h"
#include "retarget/retargeted_set.h"
#include "tools/common/library_beside_manifest.h"
#include "web/shown_set.h"

namespace vorel {

bool retargetIntoPage(const std::string& sourcePath, const std::string& animation,
                      const std::string& mapPath, const std::string& dancerManifest,
                      const std::string& setFolder, WebGLFigureRenderer& renderer,
                      std::string& problem) {
    const std::unique_ptr<AssetLibrary> dancer = loadLibraryBesideManifest(dancerManifest, problem);
    if (dancer == nullptr) return false;
    RetargetRequest request;
    request.sourcePath = sourcePath;
    request.animation = animation;
    request.mapPath = mapPath;
    request.asker = RetargetAsker::Page;
    RetargetOutcome outcome;
    LoadError error;
    if (!retargetFile(request, *dancer->models.front(), outcome, error)) {
        problem = error.describe();
        return false;
    }
    const SetToWrite set = setWithAnimation(*dancer, *outcome.animation.data, DanceNames[0]);
    if (!writeSetAtomically(set, setFolder, problem)) {
        problem = setFolder + ": " + problem;
        return false;
    }
    return showManifest(setFolder + "/vorel.txt", renderer, problem);
}

}  // namespace vorel
