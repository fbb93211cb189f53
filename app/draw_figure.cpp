// drawFigure: immediate-mode quads from the current instance's skinned positions and normals.
#include "app/draw_figure.h"

#include <GL/gl.h>

#include "app/app_state.h"

namespace vorel {

void drawFigure() {
    const ModelInstance& instance = *figure->instances[figure->currentModel];
    for (const Face& face : instance.faces) {
        glBegin(GL_QUADS);
        for (int corner = 0; corner < 4; ++corner) {
            glNormal3fv(&instance.normals[face.normalIndices[corner]].x);
            glVertex3fv(&instance.positions[face.positionIndices[corner]].x);
        }
        glEnd();
    }
}

}  // namespace vorel
