// ByteReader: a bounds-checked cursor over a whole file held in memory, reading the
// little-endian fields of the binary asset formats. The first failure is recorded as a
// LoadError with the section being read and the byte offset; every later read then fails too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "assets/load_error.h"
#include "math/vector3.h"

namespace vorel {

class ByteReader {
  public:
    // bytes must outlive the reader; error may be null.
    ByteReader(const std::string& bytes, const std::string& fileName, LoadError* error);

    // Names the part of the file that the following reads belong to, for diagnostics: the
    // name alone, or with an item number ("face 3"). The text is only built on failure, so
    // naming every bone of a long chain costs nothing. name must be a string literal.
    void setSection(const char* name, std::int64_t item = -1) {
        sectionName_ = name;
        sectionItem_ = item;
    }

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool readI32(std::int32_t& value);
    bool readF32(float& value);
    bool readVector3(Vector3& value);
    // Bytes up to a zero byte, which is consumed and not stored.
    bool readName(std::string& name);
    bool skip(std::size_t byteCount);

    // Fails unless count records of at least minimumSize bytes each fit in what is left, so a
    // lying count is caught before anything is allocated for it. A negative count fits.
    bool canHold(std::int64_t count, std::size_t minimumSize, const char* what);

    // Records a failure that concerns the field read last; always returns false.
    bool failLastField(const std::string& message);
    // Records a failure found at the given offset, unless one is already recorded.
    bool failAt(std::size_t offset, const std::string& message);

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return bytes_.size() - offset_; }

  private:
    bool take(std::size_t width, const char* what);

    const std::string& bytes_;
    const std::string& fileName_;
    LoadError* error_;
    const char* sectionName_ = "";
    std::int64_t sectionItem_ = -1;
    std::size_t offset_ = 0;
    std::size_t lastFieldOffset_ = 0;
    bool failed_ = false;
};

}  // namespace vorel
