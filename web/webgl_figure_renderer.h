// WebGLFigureRenderer: the browser page's renderer backend. It draws a model instance the way
// the fixed-function viewer does (same projection, light, material and background) through
// one shader and one vertex buffer, so a frame is one draw call instead of one per face.
// Face corners that always carry the same skinned position and normal share one vertex, so a
// frame uploads and shades each such pair once; the triangles and their values stay the same.
//
// Implements: white clear with depth, the viewer's perspective and turning model-view, the
// default light 0 with the viewer's diffuse colour on the default material, smooth shading.
// Does not implement: texture, more than one model or light, resizing (the canvas keeps the
// viewer's 640 x 480), blending of translucent colours (every lit colour is opaque).
#pragma once

#include <GLES2/gl2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skeleton/model_instance.h"

namespace vorel {

class WebGLFigureRenderer {
  public:
    // Compiles the shader and makes the buffer; needs the page's WebGL context to be current.
    // False, with problem set, when the browser refuses either.
    bool initialise(std::string& problem);
    // Finds the vertices the instance's face corners share and sizes the vertex store for
    // them; call once per model shown, never per frame (it allocates).
    void attach(const ModelInstance& instance);
    // Clears to white and resets depth, as each viewer frame starts.
    void clear();
    // Draws the instance's skinned faces turned by this many degrees about the vertical axis.
    // Allocates nothing.
    void draw(const ModelInstance& instance, float turnDegrees);

  private:
    void fillVertices(const ModelInstance& instance);

    GLuint program_ = 0;
    GLuint buffer_ = 0;
    // Two triangles per face, fixed once the instance is attached.
    GLuint indexBuffer_ = 0;
    GLint positionAttribute_ = -1;
    GLint normalAttribute_ = -1;
    GLint modelViewUniform_ = -1;
    GLint projectionUniform_ = -1;
    // Each shared vertex's position index then normal index in the instance's buffers.
    std::vector<std::int32_t> vertexSources_;
    // Each shared vertex as a position then a normal, refilled every frame.
    std::vector<GLfloat> vertices_;
    GLsizei indexCount_ = 0;
};

}  // namespace vorel
