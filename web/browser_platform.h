// The browser page's platform backend, beside the GLUT shell in app/main.cpp: the WebGL
// context on the page's canvas, key presses from the document, and a frame loop that draws
// one frame per display refresh.
//
// Implements: character keys through the viewer's own keyboard handler (1-7, space); Escape,
// which ends the frame loop and tells the page (the viewer's exit status means nothing here).
// Does not implement: special keys (the viewer binds none), pointer input (the page's buttons
// press keys instead), resizing (the canvas is the viewer's 640 x 480 window).
#pragma once

#include <string>

namespace vorel {

// Makes a WebGL 1 context on the canvas (a CSS selector) current, without antialiasing, as
// the viewer's window has none. False, with problem set, when the browser gives none.
bool createBrowserContext(const char* canvasSelector, std::string& problem);
// Presses keys from the document on the viewer's keyboard handler from now on.
void listenToDocumentKeys();
// Runs frame once per display refresh until Escape. A second call changes nothing.
void startFrameLoop(void (*frame)());
bool frameLoopRunning();
// One key as the document would press it: Escape ends the frame loop, any other key goes to
// the viewer's keyboard handler.
void pressBrowserKey(unsigned char key);

}  // namespace vorel
