// The fixed OpenGL state and the projection, shared by the viewer's window and the headless
// renderer so both draw the same picture.
#pragma once

namespace vorel {

// Smooth shading, white clear colour, depth test, one light, alpha blending.
void initGL();
// Viewport and 75-degree perspective for the given size; zero sizes become 1.
void reshape(int width, int height);

}  // namespace vorel
