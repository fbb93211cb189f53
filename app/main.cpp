// The viewer vorel: opens the GLUT window, loads vorel.txt from the working directory, builds
// the figure and runs the frame loop. Only the GLUT glue lives here; the rest is vorel_app.
#include <GL/glut.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/fixed_view.h"
#include "app/frame.h"
#include "app/gl_state.h"
#include "app/key_bindings.h"
#include "app/startup_library.h"
#include "assets/printable_name.h"

namespace {

void initWindow(int& argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(vorel::WindowWidth, vorel::WindowHeight);
    glutCreateWindow("GLUT app");
    vorel::reshape(vorel::WindowWidth, vorel::WindowHeight);
}

// Display and idle callback alike: every frame asks for the next.
void display() {
    vorel::drawFrame();
    glFlush();
    glutSwapBuffers();
    glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
    vorel::registerBindings();
    initWindow(argc, argv);
    vorel::initGL();
    glutKeyboardFunc(vorel::keyboard);
    glutSpecialFunc(vorel::specialKey);
    glutReshapeFunc(vorel::reshape);
    glutDisplayFunc(display);
    glutIdleFunc(display);

    std::string problem;
    std::unique_ptr<vorel::AssetLibrary> loaded = vorel::loadStartupLibrary("vorel.txt", problem);
    if (loaded == nullptr) {
        // Stop before the figure exists: it needs a model and every file loaded.
        std::fprintf(stderr, "vorel: %s\n", vorel::printableName(problem).c_str());
        return 2;
    }
    vorel::installFigure(std::move(loaded));
    glutMainLoop();
}
