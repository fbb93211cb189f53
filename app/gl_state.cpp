// initGL and reshape: everything OpenGL needs before the first frame, and on each resize.
#include "app/gl_state.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/fixed_view.h"

namespace vorel {

void initGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    // NOTE: lit alpha comes from the material, so the alpha given here never shows.
    const GLfloat diffuse[] = {0.75f, 0.85f, 0.9f, 1.0f};
    const GLfloat specular[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void reshape(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    if (width == 0) {
        width = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfViewDegrees, static_cast<double>(width) / static_cast<double>(height),
                   NearPlane, FarPlane);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace vorel
