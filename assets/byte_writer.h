// ByteWriter: appends the little-endian, unpadded fields of the binary asset formats to a
// growing byte string; the writers' counterpart of ByteReader.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "math/vector3.h"

namespace vorel {

class ByteWriter {
  public:
    void putU8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void putU16(std::uint16_t value);
    void putU32(std::uint32_t value);
    void putI32(std::int32_t value);
    void putF32(float value);
    void putVector3(const Vector3& value);
    // The bytes and a closing zero byte. NOTE: a name holding a zero byte is cut there when
    // loaded again.
    void putName(const std::string& name);

    // Room for `count` more bytes, so that a large file's string grows once instead of
    // doubling (which holds the old and the new copy at the same moment).
    void reserve(std::size_t count) { bytes_.reserve(bytes_.size() + count); }

    const std::string& bytes() const { return bytes_; }
    // Hands the bytes over without a copy; the writer is empty afterwards.
    std::string takeBytes() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

}  // namespace vorel
