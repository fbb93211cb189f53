// ByteReader: little-endian field reads over a file in memory, failing cleanly at its end.
#include "assets/byte_reader.h"

#include <cstring>

namespace vorel {

ByteReader::ByteReader(const std::string& bytes, const std::string& fileName, LoadError* error)
    : bytes_(bytes), fileName_(fileName), error_(error) {}

bool ByteReader::take(std::size_t width, const char* what) {
    if (failed_) return false;
    lastFieldOffset_ = offset_;
    if (remaining() < width) {
        return failAt(offset_, "file ends inside " + std::string(what) + " (needs " +
                                   std::to_string(width) + " bytes, " +
                                   std::to_string(remaining()) + " left)");
    }
    return true;
}

bool ByteReader::readU8(std::uint8_t& value) {
    if (!take(1, "a byte field")) return false;
    value = static_cast<std::uint8_t>(bytes_[offset_]);
    offset_ += 1;
    return true;
}

bool ByteReader::readU16(std::uint16_t& value) {
    if (!take(2, "a 16-bit field")) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset_);
    value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    offset_ += 2;
    return true;
}

bool ByteReader::readU32(std::uint32_t& value) {
    if (!take(4, "a 32-bit field")) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset_);
    value = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
            (std::uint32_t{p[3]} << 24);
    offset_ += 4;
    return true;
}

bool ByteReader::readI32(std::int32_t& value) {
    std::uint32_t bits = 0;
    if (!readU32(bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ByteReader::readF32(float& value) {
    std::uint32_t bits = 0;
    if (!readU32(bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ByteReader::readVector3(Vector3& value) {
    return readF32(value.x) && readF32(value.y) && readF32(value.z);
}

bool ByteReader::readName(std::string& name) {
    if (failed_) return false;
    lastFieldOffset_ = offset_;
    const void* end = std::memchr(bytes_.data() + offset_, 0, remaining());
    if (end == nullptr) {
        return failAt(offset_, "name has no zero byte before the end of the file");
    }
    const std::size_t length = static_cast<const char*>(end) - (bytes_.data() + offset_);
    name.assign(bytes_, offset_, length);
    offset_ += length + 1;
    return true;
}

bool ByteReader::skip(std::size_t byteCount) {
    if (!take(byteCount, "skipped bytes")) return false;
    offset_ += byteCount;
    return true;
}

bool ByteReader::canHold(std::int64_t count, std::size_t minimumSize, const char* what) {
    if (failed_) return false;
    if (count <= 0) return true;
    const auto available = static_cast<std::uint64_t>(remaining() / minimumSize);
    if (static_cast<std::uint64_t>(count) <= available) return true;
    return failLastField(std::string(what) + " count " + std::to_string(count) +
                         " needs at least " + std::to_string(minimumSize) + " bytes each, only " +
                         std::to_string(remaining()) + " bytes left");
}

bool ByteReader::failLastField(const std::string& message) {
    return failAt(lastFieldOffset_, message);
}

bool ByteReader::failAt(std::size_t offset, const std::string& message) {
    if (failed_) return false;
    failed_ = true;
    if (error_ != nullptr) {
        std::string section = sectionName_;
        if (sectionItem_ >= 0) section += " " + std::to_string(sectionItem_);
        *error_ = LoadError{fileName_, section, static_cast<std::int64_t>(offset), message};
    }
    return false;
}

}  // namespace vorel
