#include "tools/inspect/obj_text.h"

#include <cstdio>

namespace vorel {

namespace {

void appendVector(std::string& text, const char* kind, const Vector3& v) {
    char line[96];
    std::snprintf(line, sizeof line, "%s %.9g %.9g %.9g\n", kind, static_cast<double>(v.x),
                  static_cast<double>(v.y), static_cast<double>(v.z));
    text += line;
}

void appendFace(std::string& text, const Face& face) {
    text += 'f';
    for (int corner = 0; corner < 4; ++corner) {
        text += ' ' + std::to_string(face.positionIndices[corner] + 1) +
                "//" + std::to_string(face.normalIndices[corner] + 1);
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
