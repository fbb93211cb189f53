// The functions the page's script calls (web/vorel.js), in C so the script reaches them by
// name: open a set, press a key, draw frames on demand, and read the frame times. The
// renderer lives here, for as long as the page.
#include <emscripten/emscripten.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/key_bindings.h"
#include "assets/dance_names.h"
#include "assets/printable_name.h"
#include "retarget/retarget_file.h"
#include "web/browser_platform.h"
#include "web/page_export.h"
#include "web/page_import.h"
#include "web/page_retarget.h"
#include "web/shown_set.h"
#include "web/web_frame.h"

namespace {

vorel::WebGLFigureRenderer renderer;
vorel::FrameTimes frameTimes;
// The last problem, kept so the pointer handed to the script stays valid until the next call.
std::string lastProblem;
// The last key name handed to the script, kept as the problem is.
std::string shownKeyName;
bool ready = false;
// What keys 1, 2, ... play in the shown set, by the animations' own names.
std::vector<std::string> keyNames;
// The last file imported, the bone map that came with it (empty: none) and what its keys
// played: the source "retarget onto the dancer" uses; and whether it held motion alone.
std::string importedPath;
std::string importedMapPath;
std::vector<std::string> importedKeyNames;
bool importedMotionOnly = false;

void nameDancerKeys() {
    keyNames.clear();
    for (const char* dance : vorel::DanceNames) {
        if (vorel::library->findAnimation(dance) == nullptr) break;
        keyNames.push_back(dance);
    }
}

// The last problem as the page shows it: names from files through the one rule for them.
const char* shownProblem() {
    lastProblem = vorel::printableName(lastProblem);
    return lastProblem.c_str();
}

void frame() {
    vorel::drawWebFrame(renderer, frameTimes);
}

// The context, the shader and the keys, once for the page's lifetime.
bool prepareOnce() {
    if (ready) return true;
    if (!vorel::createBrowserContext("#canvas", lastProblem) || !renderer.initialise(lastProblem)) {
        return false;
    }
    vorel::registerBindings();
    vorel::listenToDocumentKeys();
    ready = true;
    return true;
}

}  // namespace

extern "C" {

// Shows the set MANIFEST names; with play set, the frame loop runs from then on. Returns ""
// or the one line saying why the set cannot be shown (the shown set then stays).
EMSCRIPTEN_KEEPALIVE const char* vorelShowManifest(const char* manifest, int play) {
    lastProblem.clear();
    if (!prepareOnce() || !vorel::showManifest(manifest, renderer, lastProblem)) {
        return shownProblem();
    }
    nameDancerKeys();
    if (play != 0) vorel::startFrameLoop(frame);
    return "";
}

// Imports the file at INPUT (written into the module's file system by the script) into the set
// folder SET and shows it, playing as the dancer played; MAP (or "") names a bone map file that
// came with it, for retargeting it later. A file of motion alone (vorelImportedMotionOnly) is
// kept for retargeting and the shown set stays. Returns "" or the one line saying why the file
// cannot be used; the set shown before then stays.
EMSCRIPTEN_KEEPALIVE const char* vorelImportFile(const char* input, const char* map,
                                                 const char* set) {
    lastProblem.clear();
    vorel::PageImport imported;
    if (!prepareOnce() || !vorel::importIntoPage(input, set, renderer, imported, lastProblem)) {
        return shownProblem();
    }
    importedPath = input;
    importedMapPath = map;
    importedKeyNames = imported.keyNames;
    importedMotionOnly = imported.motionOnly;
    if (!imported.motionOnly) keyNames = imported.keyNames;
    return "";
}

// 1 when the file imported last holds motion alone (nothing new shown), else 0.
EMSCRIPTEN_KEEPALIVE int vorelImportedMotionOnly() {
    return importedMotionOnly ? 1 : 0;
}

// Puts the motion on key 1 of the file imported last (a capture, or the key-1 animation of a
// glTF or FBX file) on the dancer of DANCER (her manifest), with the bone map that came with
// the file or else the built-in ones, into the set folder SET, and shows it there on key 1.
// Returns "" or the one line saying why it cannot; the set shown before then stays.
EMSCRIPTEN_KEEPALIVE const char* vorelRetargetOntoDancer(const char* dancer, const char* set) {
    lastProblem.clear();
    if (importedPath.empty() || importedKeyNames.empty()) {
        lastProblem = "import a BVH capture or an animated glTF or FBX file first";
        return shownProblem();
    }
    // A capture holds one motion; a glTF or FBX file's is named, as key 1 plays it.
    const bool capture = vorel::sourceKindOf(importedPath) == vorel::SourceKind::Bvh;
    const std::string animation = capture ? std::string() : importedKeyNames.front();
    if (!vorel::retargetIntoPage(importedPath, animation, importedMapPath, dancer, set, renderer,
                                 lastProblem)) {
        return shownProblem();
    }
    nameDancerKeys();
    keyNames.front() = importedKeyNames.front() + " on the dancer";
    return "";
}

// Writes what is shown, with its animations as they are, to OUTPUT as binary glTF by
// vorel-export's code, for the script to offer as a download. Returns "" or the one line
// saying why it cannot.
EMSCRIPTEN_KEEPALIVE const char* vorelExportShownSet(const char* output) {
    lastProblem.clear();
    if (!vorel::exportShownSet(output, lastProblem)) return shownProblem();
    return "";
}

// The animations keys 1, 2, ... play in the shown set, by name, for the page's buttons.
EMSCRIPTEN_KEEPALIVE int vorelKeyCount() {
    return static_cast<int>(keyNames.size());
}

EMSCRIPTEN_KEEPALIVE const char* vorelKeyAnimationName(int key) {
    if (key < 0 || key >= vorelKeyCount()) return "";
    shownKeyName = vorel::printableName(keyNames[static_cast<std::size_t>(key)]);
    return shownKeyName.c_str();
}

// A key as if pressed on the page: 1-7 and space as in the viewer, 27 (Escape) ends the loop.
EMSCRIPTEN_KEEPALIVE void vorelPressKey(int key) {
    if (vorel::figure != nullptr) vorel::pressBrowserKey(static_cast<unsigned char>(key));
}

// Draws frames at once, outside the loop: for a page opened without playing, to show an
// exact frame number.
EMSCRIPTEN_KEEPALIVE void vorelDrawFrames(int count) {
    if (vorel::figure == nullptr) return;
    for (int i = 0; i < count; ++i) frame();
}

EMSCRIPTEN_KEEPALIVE int vorelFrameLoopRunning() {
    return vorel::frameLoopRunning() ? 1 : 0;
}

// The animations playing and the animation clock, for the page's status line and its tests.
EMSCRIPTEN_KEEPALIVE int vorelPlayingCount() {
    return vorel::figure == nullptr ? 0 : static_cast<int>(vorel::figure->playing.size());
}

EMSCRIPTEN_KEEPALIVE float vorelAnimationClock() {
    return vorel::animationClock;
}

EMSCRIPTEN_KEEPALIVE int vorelFramesDrawn() {
    return frameTimes.frames;
}

EMSCRIPTEN_KEEPALIVE double vorelUpdateMilliseconds() {
    return frameTimes.updateMilliseconds;
}

EMSCRIPTEN_KEEPALIVE double vorelDrawMilliseconds() {
    return frameTimes.drawMilliseconds;
}

}  // extern "C"
