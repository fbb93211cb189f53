#include "tools/inspect/obj_text.h"

#include "tools/inspect/inspect_output.h"

namespace vorel {

namespace {

void appendVector(std::string& text, const char* kind, const Vector3& v) {
    text += kind;
    for (const float coordinate : {v.x, v.y, v.z}) {
        text += ' ';
        appendFloat(text, coordinate);
    }
    text += '\n';
}

void appendFace(std::string& text, const Face& face) {
    text += 'f';
    for (int corner = 0; corner < 4; ++corner) {
        text += ' ' + std::to_string(face.positionIndices[corner] + 1) + "//" +
                std::to_string(face.normalIndices[corner] + 1);
    }
    text += '\n';
}

}  // namespace

std::string objText(const ModelInstance& instance) {
    std::string text = "# posed by vorel-inspect pose\n";
    for (const Vector3& position : instance.positions) appendVector(text, "v", position);
    for (const Vector3& normal : instance.normals) appendVector(text, "vn", normal);
    for (const Face& face : instance.faces) appendFace(text, face);
    return text;
}

}  // namespace vorel
