// ByteWriter: little-endian field encoding for the asset writers.
#include "assets/byte_writer.h"

#include <cstring>

namespace vorel {

void ByteWriter::putU16(std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    bytes_.append(bytes, sizeof bytes);
}

void ByteWriter::putU32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
    bytes_.append(bytes, sizeof bytes);
}

void ByteWriter::putI32(std::int32_t value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(bits);
}

void ByteWriter::putF32(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(bits);
}

void ByteWriter::putVector3(const Vector3& value) {
    putF32(value.x);
    putF32(value.y);
    putF32(value.z);
}

void ByteWriter::putName(const std::string& name) {
    bytes_.append(name);
    putU8(0);
}

}  // namespace vorel
