// drawFigure: draws the figure's current model instance from its skinned buffers.
#pragma once

namespace vorel {

// One GL_QUADS begin/end pair of four vertices per face, normals and positions as skinned.
void drawFigure();

}  // namespace vorel
