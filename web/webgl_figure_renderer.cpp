// WebGLFigureRenderer: the viewer's fixed-function picture rebuilt from one GLSL program.
// The lighting is OpenGL's default light 0 (a directional light along the eye's +z) with the
// viewer's diffuse colour, on OpenGL's default material, evaluated per vertex as the fixed
// pipeline does; the colour the viewer sets never enters its lighting, so none is used here.
#include "web/webgl_figure_renderer.h"

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <unordered_map>

#include "app/fixed_view.h"

namespace vorel {

namespace {

constexpr const char* VertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
uniform mat4 modelView;
uniform mat4 projection;
varying vec4 colour;
// Global ambient 0.2 times material ambient 0.2; light 0 adds no ambient of its own.
const vec3 ambient = vec3(0.04);
// The viewer's light diffuse (0.75, 0.85, 0.9) times the default material diffuse 0.8.
const vec3 diffuse = vec3(0.6, 0.68, 0.72);
void main() {
  // NOTE: not normalised: the viewer does not enable GL_NORMALIZE either.
  vec3 eyeNormal = mat3(modelView) * normal;
  colour = vec4(ambient + max(eyeNormal.z, 0.0) * diffuse, 1.0);
  gl_Position = projection * (modelView * vec4(position, 1.0));
}
)";

constexpr const char* FragmentShader = R"(
precision mediump float;
varying vec4 colour;
void main() {
  gl_FragColor = colour;
}
)";

constexpr double Pi = 3.14159265358979323846;
constexpr int FloatsPerCorner = 6;
constexpr std::size_t CornersPerFace = 4;
// Mesa's fixed pipeline splits a quad along its 0-2 diagonal; the same split keeps the
// interpolated colours and depths where the viewer has them (the other diagonal made some
// 500 pixels of the skirt's hem differ from vorel-render's frames instead of some 45).
constexpr GLuint QuadTriangles[6] = {0, 1, 2, 0, 2, 3};

GLuint compileShader(GLenum kind, const char* source, std::string& problem) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        problem = "the browser cannot compile the figure's shader";
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// gluPerspective of the fixed view, computed in double as GLU does, then rounded.
void perspective(GLfloat matrix[16]) {
    const double f = 1.0 / std::tan(FieldOfViewDegrees / 2.0 * Pi / 180.0);
    const double aspect = double{WindowWidth} / double{WindowHeight};
    const double depth = NearPlane - FarPlane;
    for (int i = 0; i < 16; ++i) matrix[i] = 0.0f;
    matrix[0] = static_cast<GLfloat>(f / aspect);
    matrix[5] = static_cast<GLfloat>(f);
    matrix[10] = static_cast<GLfloat>((FarPlane + NearPlane) / depth);
    matrix[11] = -1.0f;
    matrix[14] = static_cast<GLfloat>(2.0 * FarPlane * NearPlane / depth);
}

// The viewer's glTranslatef(0, -EyeHeight, -EyeDistance) then glRotatef(turn, 0, 1, 0).
void turnedModelView(float turnDegrees, GLfloat matrix[16]) {
    const double angle = double{turnDegrees} * Pi / 180.0;
    const auto c = static_cast<GLfloat>(std::cos(angle));
    const auto s = static_cast<GLfloat>(std::sin(angle));
    const GLfloat columns[16] = {c, 0.0f, -s, 0.0f, 0.0f, 1.0f,       0.0f,         0.0f,
                                 s, 0.0f, c,  0.0f, 0.0f, -EyeHeight, -EyeDistance, 1.0f};
    for (int i = 0; i < 16; ++i) matrix[i] = columns[i];
}

// The bone (in walk order) whose skinning sets each normal of the instance, or for a blended
// normal the bone count plus the position that blends it; -1 for a normal that keeps its bind
// value.
std::vector<std::int32_t> normalOwners(const ModelInstance& instance) {
    std::vector<std::int32_t> owners(instance.normals.size(), -1);
    const SkinningLists& lists = instance.skinning();
    for (std::size_t bone = 0; bone < lists.boneCount(); ++bone) {
        for (const IndexRun& run : lists.normals(bone)) {
            for (std::int32_t normal = run.first; normal < run.last; ++normal)
                owners[static_cast<std::size_t>(normal)] = static_cast<std::int32_t>(bone);
        }
    }
    const auto boneCount = static_cast<std::int32_t>(lists.boneCount());
    for (const WeightedGroup& group : lists.weightedGroups()) {
        for (std::size_t i = 0; i < group.vertices.size(); ++i) {
            for (std::size_t j = group.normalStart[i]; j < group.normalStart[i + 1]; ++j) {
                owners[static_cast<std::size_t>(group.normals[j])] = boneCount + group.vertices[i];
            }
        }
    }
    return owners;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// NOTE: skinning sets a position from its index alone and a normal from its bind value and the
// one bone (or blended position) that sets it, so corners alike in all three come out alike in
// every pose, bit for bit, and one vertex serves them all.
using VertexKey =
    std::tuple<std::int32_t, std::int32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

struct VertexKeyHash {
    std::size_t operator()(const VertexKey& key) const {
        // FNV-1a over the five words.
        std::uint32_t hash = 2166136261u;
        const auto mix = [&hash](std::uint32_t value) { hash = (hash ^ value) * 16777619u; };
        mix(static_cast<std::uint32_t>(std::get<0>(key)));
        mix(static_cast<std::uint32_t>(std::get<1>(key)));
        mix(std::get<2>(key));
        mix(std::get<3>(key));
        mix(std::get<4>(key));
        return hash;
    }
};

VertexKey keyOf(const ModelInstance& instance, const std::vector<std::int32_t>& owners,
                std::int32_t position, std::int32_t normal) {
    const Vector3& bind = instance.model->normals[static_cast<std::size_t>(normal)];
    return {position, owners[static_cast<std::size_t>(normal)], bitsOf(bind.x), bitsOf(bind.y),
            bitsOf(bind.z)};
}

}  // namespace

bool WebGLFigureRenderer::initialise(std::string& problem) {
    const GLuint vertex = compileShader(GL_VERTEX_SHADER, VertexShader, problem);
    const GLuint fragment = compileShader(GL_FRAGMENT_SHADER, FragmentShader, problem);
    if (vertex == 0 || fragment == 0) return false;
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glLinkProgram(program_);
    GLint linked = GL_FALSE;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        problem = "the browser cannot link the figure's shader";
        return false;
    }
    positionAttribute_ = glGetAttribLocation(program_, "position");
    normalAttribute_ = glGetAttribLocation(program_, "normal");
    modelViewUniform_ = glGetUniformLocation(program_, "modelView");
    projectionUniform_ = glGetUniformLocation(program_, "projection");
    // 32-bit indices: an imported model may have more than 65,536 corners.
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr || std::strstr(extensions, "OES_element_index_uint") == nullptr) {
        problem = "this browser's WebGL has no 32-bit indices (OES_element_index_uint)";
        return false;
    }
    glGenBuffers(1, &buffer_);
    glGenBuffers(1, &indexBuffer_);

    glUseProgram(program_);
    GLfloat projection[16];
    perspective(projection);
    glUniformMatrix4fv(projectionUniform_, 1, GL_FALSE, projection);
    glViewport(0, 0, WindowWidth, WindowHeight);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepthf(1.0f);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    return true;
}

void WebGLFigureRenderer::attach(const ModelInstance& instance) {
    const std::vector<std::int32_t> owners = normalOwners(instance);
    std::unordered_map<VertexKey, GLuint, VertexKeyHash> vertexOfKey;
    vertexOfKey.reserve(instance.faces.size() * CornersPerFace);
    std::vector<GLuint> cornerVertices;
    cornerVertices.reserve(instance.faces.size() * CornersPerFace);
    vertexSources_.clear();
    for (const Face& face : instance.faces) {
        for (std::size_t corner = 0; corner < CornersPerFace; ++corner) {
            const std::int32_t position = face.positionIndices[corner];
            const std::int32_t normal = face.normalIndices[corner];
            const auto [entry, added] =
                vertexOfKey.emplace(keyOf(instance, owners, position, normal),
                                    static_cast<GLuint>(vertexSources_.size() / 2));
            if (added) vertexSources_.insert(vertexSources_.end(), {position, normal});
            cornerVertices.push_back(entry->second);
        }
    }
    std::vector<GLuint> indices;
    indices.reserve(instance.faces.size() * 6);
    for (std::size_t face = 0; face < instance.faces.size(); ++face) {
        for (const GLuint corner : QuadTriangles)
            indices.push_back(cornerVertices[face * CornersPerFace + corner]);
    }
    vertices_.assign(vertexSources_.size() / 2 * FloatsPerCorner, 0.0f);
    indexCount_ = static_cast<GLsizei>(indices.size());
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(GLfloat)),
                 nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STATIC_DRAW);
}

void WebGLFigureRenderer::clear() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void WebGLFigureRenderer::draw(const ModelInstance& instance, float turnDegrees) {
    if (indexCount_ == 0) return;
    fillVertices(instance);
    GLfloat modelView[16];
    turnedModelView(turnDegrees, modelView);
    glUseProgram(program_);
    glUniformMatrix4fv(modelViewUniform_, 1, GL_FALSE, modelView);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertices_.size() * sizeof(GLfloat)),
                    vertices_.data());
    const GLsizei stride = FloatsPerCorner * sizeof(GLfloat);
    glEnableVertexAttribArray(static_cast<GLuint>(positionAttribute_));
    glVertexAttribPointer(static_cast<GLuint>(positionAttribute_), 3, GL_FLOAT, GL_FALSE, stride,
                          nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(normalAttribute_));
    glVertexAttribPointer(static_cast<GLuint>(normalAttribute_), 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(3 * sizeof(GLfloat)));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glDrawElements(GL_TRIANGLES, indexCount_, GL_UNSIGNED_INT, nullptr);
}

void WebGLFigureRenderer::fillVertices(const ModelInstance& instance) {
    GLfloat* out = vertices_.data();
    for (std::size_t source = 0; source < vertexSources_.size(); source += 2) {
        const Vector3& position =
            instance.positions[static_cast<std::size_t>(vertexSources_[source])];
        const Vector3& normal =
            instance.normals[static_cast<std::size_t>(vertexSources_[source + 1])];
        *out++ = position.x;
        *out++ = position.y;
        *out++ = position.z;
        *out++ = normal.x;
        *out++ = normal.y;
        *out++ = normal.z;
    }
}

}  // namespace vorel
