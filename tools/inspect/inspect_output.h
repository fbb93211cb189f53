// Text forms of the numbers and records vorel-inspect prints. Every float goes through
// formatFloat, so each printed value reads back as the exact float that was computed.
#pragma once

#include <string>

#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace vorel {

// %.9g: nine significant digits round-trip any float.
std::string formatFloat(float value);
std::string formatFloat(double value);
// Appends formatFloat(value) to text.
void appendFloat(std::string& text, double value);
// "x y z"
std::string formatVector(const Vector3& v);
// "x y z w"
std::string formatQuaternion(const Quaternion& q);
// "(x, y, z)"
std::string formatPoint(const Vector3& v);
// Row r of the matrix, "m[r] m[4 + r] m[8 + r] m[12 + r]", for printing row by row.
std::string formatMatrixRow(const Matrix4& m, int row);
// "tx", "ty", "tz", "sx", "sy", "sz", "rx", "ry", "rz", "rw" for channels 0 to 9.
const char* channelName(int channel);

}  // namespace vorel
