// showManifest: the viewer's start-up checks and figure, swapped in under a running page.
#include "web/shown_set.h"

#include <memory>

#include "app/app_state.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

namespace {

std::string shownManifest;

// The viewer never releases its one figure and library; the page replaces them, so it
// releases the old pair first, figure before the library it points into.
void releaseShownSet() {
    delete figure;
    figure = nullptr;
    delete library;
    library = nullptr;
}

}  // namespace

bool showManifest(const std::string& manifestPath, WebGLFigureRenderer& renderer,
                  std::string& problem) {
    std::unique_ptr<AssetLibrary> loaded = loadLibraryBesideManifest(manifestPath, problem);
    if (loaded == nullptr) return false;
    releaseShownSet();
    installFigure(std::move(loaded));
    animationClock = 0.0f;
    clockRunning = true;
    spinAngle = 0.0f;
    renderer.attach(*figure->instances[static_cast<std::size_t>(figure->currentModel)]);
    shownManifest = manifestPath;
    return true;
}

const std::string& shownManifestPath() {
    return shownManifest;
}

}  // namespace vorel
