// The browser platform backend on Emscripten's HTML5 API: context, keys and the frame loop.
#include "web/browser_platform.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "app/key_bindings.h"

namespace vorel {

namespace {

constexpr unsigned char EscapeKey = 27;
bool loopRunning = false;

EM_JS(void, announceFrameLoopEnded, (), {
    if (Module.onFrameLoopEnded) Module.onFrameLoopEnded();
});

// The viewer's character for a key event; 0 for keys it has no character for.
unsigned char viewerKeyOf(const EmscriptenKeyboardEvent& event) {
    if (event.ctrlKey || event.altKey || event.metaKey) return 0;
    if (std::strcmp(event.key, "Escape") == 0) return EscapeKey;
    const auto first = static_cast<unsigned char>(event.key[0]);
    return first >= 32 && first < 127 && event.key[1] == '\0' ? first : 0;
}

// Keys the viewer binds, and Escape, are the page's: the browser does nothing else with
// them (space would scroll). Any other key keeps its browser meaning. A held key repeats,
// as GLUT repeats it for the viewer.
EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
    const unsigned char key = viewerKeyOf(*event);
    if (key == 0 || (key != EscapeKey && keyActions.count(key) == 0)) return EM_FALSE;
    pressBrowserKey(key);
    return EM_TRUE;
}

}  // namespace

bool createBrowserContext(const char* canvasSelector, std::string& problem) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.antialias = EM_FALSE;
    attributes.depth = EM_TRUE;
    attributes.alpha = EM_FALSE;
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0 ||
        emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        problem = "this browser gives the page no WebGL";
        return false;
    }
    return true;
}

void listenToDocumentKeys() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onKeyDown);
}

void startFrameLoop(void (*frame)()) {
    if (loopRunning) return;
    loopRunning = true;
    // Rate 0: the browser's animation frames, one per display refresh.
    emscripten_set_main_loop(frame, 0, EM_FALSE);
}

bool frameLoopRunning() {
    return loopRunning;
}

void pressBrowserKey(unsigned char key) {
    if (key != EscapeKey) {
        keyboard(key, 0, 0);
        return;
    }
    // NOTE: the viewer exits with status 1 here; a page cannot end its process, so the frame
    // loop stops instead, leaving the last frame on the canvas, and the page says so.
    if (!loopRunning) return;
    emscripten_cancel_main_loop();
    loopRunning = false;
    announceFrameLoopEnded();
}

}  // namespace vorel
