// Round-trip text forms of floats, vectors, quaternions and matrix rows.
#include "tools/inspect/inspect_output.h"

#include <cstdio>

namespace vorel {

std::string formatFloat(float value) {
    return formatFloat(double{value});
}

std::string formatFloat(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string formatVector(const Vector3& v) {
    return formatFloat(v.x) + " " + formatFloat(v.y) + " " + formatFloat(v.z);
}

std::string formatQuaternion(const Quaternion& q) {
    return formatFloat(q.x) + " " + formatFloat(q.y) + " " + formatFloat(q.z) + " " +
           formatFloat(q.w);
}

std::string formatPoint(const Vector3& v) {
    return "(" + formatFloat(v.x) + ", " + formatFloat(v.y) + ", " + formatFloat(v.z) + ")";
}

std::string formatMatrixRow(const Matrix4& m, int row) {
    return formatFloat(m.element(row)) + " " + formatFloat(m.element(4 + row)) + " " +
           formatFloat(m.element(8 + row)) + " " + formatFloat(m.element(12 + row));
}

const char* channelName(int channel) {
    static const char* const Names[] = {"tx", "ty", "tz", "sx", "sy", "sz", "rx", "ry", "rz", "rw"};
    return Names[channel];
}

}  // namespace vorel
