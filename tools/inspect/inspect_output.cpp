// Round-trip text forms of floats, vectors, quaternions and matrix rows.
#include "tools/inspect/inspect_output.h"

#include <charconv>

namespace vorel {

void appendFloat(std::string& text, double value) {
    // to_chars with a precision writes exactly what printf's %.9g would, at a fraction of the
    // cost: a posed mesh's OBJ holds a few hundred thousand numbers.
    char digits[32];
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 9);
    text.append(digits, written.ptr);
}

std::string formatFloat(float value) {
    return formatFloat(double{value});
}

std::string formatFloat(double value) {
    std::string text;
    appendFloat(text, value);
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
