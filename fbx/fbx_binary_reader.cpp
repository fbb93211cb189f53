// Reads binary records depth-first with a bounded depth; every offset must move forward and
// stay inside the record that holds it, every count must fit in the bytes left.
#include "fbx/fbx_binary_reader.h"

#include <cstring>

#include "fbx/inflate_exact.h"
#include "fbx/read_fbx.h"

namespace vorel {

const char FbxBinaryMagic[21] = {'K', 'a', 'y', 'd', 'a', 'r', 'a', ' ', 'F', 'B', 'X',
                                 ' ', 'B', 'i', 'n', 'a', 'r', 'y', ' ', ' ', '\0'};

namespace {

constexpr std::size_t HeaderSize = 27;
constexpr int FirstVersion = 7100;
constexpr int LastVersion = 7700;
constexpr int WideOffsetVersion = 7500;

class BinaryCursor {
  public:
    BinaryCursor(const std::string& bytes, const std::string& path, LoadError& error)
        : bytes_(bytes), error_(error) {
        error_.file = path;
    }

    std::size_t offset() const { return offset_; }
    void seek(std::size_t offset) { offset_ = offset; }

    bool failAt(std::size_t offset, const std::string& message) {
        error_.offset = static_cast<std::int64_t>(offset);
        error_.section = section_;
        error_.message = message;
        return false;
    }
    void setSection(const std::string& section) { section_ = section; }

    // Reads `width` bytes little-endian into an unsigned value, within `limit`.
    bool readUnsigned(std::size_t width, std::size_t limit, std::uint64_t& value) {
        if (!fits(width, limit)) return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[offset_ + i])} << (8 * i);
        }
        offset_ += width;
        return true;
    }

    bool readBytes(std::size_t count, std::size_t limit, const char*& start) {
        if (!fits(count, limit)) return false;
        start = bytes_.data() + offset_;
        offset_ += count;
        return true;
    }

    bool fits(std::size_t count, std::size_t limit) {
        if (offset_ > limit || count > limit - offset_) {
            return failAt(offset_, "record ends after " + std::to_string(limit - offset_) +
                                       " bytes, " + std::to_string(count) + " more are needed");
        }
        return true;
    }

  private:
    const std::string& bytes_;
    LoadError& error_;
    std::string section_ = "header";
    std::size_t offset_ = 0;
};

template <typename T>
T fromBits(std::uint64_t bits) {
    T value;
    if constexpr (sizeof(T) == 4) {
        const std::uint32_t narrow = static_cast<std::uint32_t>(bits);
        std::memcpy(&value, &narrow, 4);
    } else {
        std::memcpy(&value, &bits, 8);
    }
    return value;
}

bool littleEndianHost() {
    const std::uint16_t probe = 1;
    unsigned char first = 0;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

std::int64_t signedOf(std::uint64_t bits, std::size_t width) {
    if (width == 8) return static_cast<std::int64_t>(bits);
    const std::uint64_t sign = std::uint64_t{1} << (8 * width - 1);
    return static_cast<std::int64_t>(bits ^ sign) - static_cast<std::int64_t>(sign);
}

std::size_t elementWidth(char type) {
    switch (type) {
        case 'b':
        case 'c':
            return 1;
        case 'i':
        case 'f':
            return 4;
        default:
            return 8;
    }
}

// One element of a numeric array from its little-endian bytes.
void storeElement(char type, const unsigned char* at, FbxProperty& property, std::size_t index) {
    std::uint64_t bits = 0;
    const std::size_t width = elementWidth(type);
    for (std::size_t i = 0; i < width; ++i) bits |= std::uint64_t{at[i]} << (8 * i);
    switch (type) {
        case 'f':
            property.reals[index] = fromBits<float>(bits);
            break;
        case 'd':
            property.reals[index] = fromBits<double>(bits);
            break;
        case 'b':
            property.integers[index] = bits != 0 ? 1 : 0;
            break;
        case 'c':
            property.integers[index] = static_cast<std::int64_t>(bits);
            break;
        default:
            property.integers[index] = signedOf(bits, width);
    }
}

class BinaryParser {
  public:
    BinaryParser(const std::string& bytes, const std::string& path, LoadError& error)
        : bytes_(bytes), cursor_(bytes, path, error) {}

    bool parse(FbxDocument& document) {
        std::uint64_t version = 0;
        cursor_.seek(23);
        if (!cursor_.readUnsigned(4, bytes_.size(), version)) return false;
        if (version < FirstVersion || version > LastVersion) {
            return cursor_.failAt(23,
                                  "version " + std::to_string(version) + ", expected 7100 to 7700");
        }
        document.version = static_cast<int>(version);
        document.binary = true;
        offsetWidth_ = version >= WideOffsetVersion ? 8 : 4;
        return readChildren(bytes_.size(), 0, document.root);
    }

  private:
    std::size_t nullRecordSize() const { return 3 * offsetWidth_ + 1; }

    bool isNullRecord(std::size_t at, std::size_t limit) const {
        if (at > limit || nullRecordSize() > limit - at) return false;
        for (std::size_t i = 0; i < nullRecordSize(); ++i) {
            if (bytes_[at + i] != '\0') return false;
        }
        return true;
    }

    // Records up to the null record that closes them, within `limit`; the footer after the
    // top level's is not read.
    bool readChildren(std::size_t limit, int depth, FbxNode& parent) {
        while (true) {
            const std::size_t at = cursor_.offset();
            if (isNullRecord(at, limit)) {
                cursor_.seek(at + nullRecordSize());
                return true;
            }
            if (limit - at < nullRecordSize())
                return cursor_.failAt(at, "the records end before the null record closing them");
            FbxNode node;
            if (!readRecord(limit, depth, node)) return false;
            parent.children.push_back(std::move(node));
        }
    }

    bool readRecord(std::size_t limit, int depth, FbxNode& node) {
        const std::size_t start = cursor_.offset();
        cursor_.setSection("record at " + std::to_string(start));
        std::uint64_t end = 0;
        std::uint64_t propertyCount = 0;
        std::uint64_t propertyBytes = 0;
        std::uint64_t nameLength = 0;
        if (!cursor_.readUnsigned(offsetWidth_, limit, end) ||
            !cursor_.readUnsigned(offsetWidth_, limit, propertyCount) ||
            !cursor_.readUnsigned(offsetWidth_, limit, propertyBytes) ||
            !cursor_.readUnsigned(1, limit, nameLength)) {
            return false;
        }
        if (end <= start || end > limit) {
            return cursor_.failAt(
                start, "end offset " + std::to_string(end) +
                           (end <= start ? " points backwards"
                                         : " lies past its parent's end " + std::to_string(limit)));
        }
        const std::size_t recordEnd = static_cast<std::size_t>(end);
        const char* name = nullptr;
        if (!cursor_.readBytes(static_cast<std::size_t>(nameLength), recordEnd, name)) return false;
        node.name.assign(name, static_cast<std::size_t>(nameLength));
        cursor_.setSection("record '" + node.name + "' at " + std::to_string(start));
        const std::size_t propertiesStart = cursor_.offset();
        if (propertyBytes > recordEnd - propertiesStart) {
            return cursor_.failAt(start, "property bytes run past the record's end");
        }
        const std::size_t propertiesEnd = propertiesStart + static_cast<std::size_t>(propertyBytes);
        // Every property takes at least its type byte.
        if (propertyCount > propertyBytes) {
            return cursor_.failAt(start, std::to_string(propertyCount) + " properties in " +
                                             std::to_string(propertyBytes) + " bytes");
        }
        node.properties.resize(static_cast<std::size_t>(propertyCount));
        for (FbxProperty& property : node.properties) {
            if (!readProperty(propertiesEnd, property)) return false;
        }
        if (cursor_.offset() != propertiesEnd) {
            return cursor_.failAt(cursor_.offset(), "properties end before their declared length");
        }
        if (propertiesEnd < recordEnd) {
            if (depth + 1 >= MaxFbxNesting) {
                return cursor_.failAt(
                    start, "records nest deeper than " + std::to_string(MaxFbxNesting) + " levels");
            }
            if (!readChildren(recordEnd, depth + 1, node)) return false;
            if (cursor_.offset() != recordEnd) {
                return cursor_.failAt(cursor_.offset(),
                                      "child records end before their parent's end offset");
            }
        }
        return true;
    }

    bool readProperty(std::size_t limit, FbxProperty& property) {
        const std::size_t start = cursor_.offset();
        std::uint64_t type = 0;
        if (!cursor_.readUnsigned(1, limit, type)) return false;
        std::uint64_t bits = 0;
        switch (static_cast<char>(type)) {
            case 'C':
            case 'Y':
            case 'I':
            case 'L': {
                const std::size_t width = type == 'C' ? 1 : type == 'Y' ? 2 : type == 'I' ? 4 : 8;
                if (!cursor_.readUnsigned(width, limit, bits)) return false;
                property.kind = FbxProperty::Kind::Integer;
                property.integer = type == 'C' ? (bits != 0 ? 1 : 0) : signedOf(bits, width);
                return true;
            }
            case 'F':
            case 'D':
                if (!cursor_.readUnsigned(type == 'F' ? 4 : 8, limit, bits)) return false;
                property.kind = FbxProperty::Kind::Real;
                property.real = type == 'F' ? fromBits<float>(bits) : fromBits<double>(bits);
                return true;
            case 'S':
            case 'R': {
                const char* data = nullptr;
                if (!cursor_.readUnsigned(4, limit, bits) ||
                    !cursor_.readBytes(static_cast<std::size_t>(bits), limit, data)) {
                    return false;
                }
                property.kind = type == 'S' ? FbxProperty::Kind::Text : FbxProperty::Kind::Raw;
                property.text.assign(data, static_cast<std::size_t>(bits));
                return true;
            }
            case 'f':
            case 'd':
            case 'i':
            case 'l':
            case 'b':
            case 'c':
                return readArray(static_cast<char>(type), limit, property);
            default:
                return cursor_.failAt(start, "unknown property type " + std::to_string(type));
        }
    }

    bool readArray(char type, std::size_t limit, FbxProperty& property) {
        const std::size_t start = cursor_.offset() - 1;
        std::uint64_t length = 0;
        std::uint64_t encoding = 0;
        std::uint64_t storedBytes = 0;
        if (!cursor_.readUnsigned(4, limit, length) || !cursor_.readUnsigned(4, limit, encoding) ||
            !cursor_.readUnsigned(4, limit, storedBytes)) {
            return false;
        }
        const std::size_t width = elementWidth(type);
        // 32-bit length times at most 8 bytes: no overflow in 64 bits.
        const std::uint64_t rawBytes = length * width;
        const char* data = nullptr;
        if (!cursor_.readBytes(static_cast<std::size_t>(storedBytes), limit, data)) return false;
        if (encoding > 1)
            return cursor_.failAt(start, "unknown array encoding " + std::to_string(encoding));
        if (encoding == 0 && rawBytes != storedBytes) {
            return cursor_.failAt(start, std::to_string(length) + " elements of " +
                                             std::to_string(width) + " bytes in " +
                                             std::to_string(storedBytes) + " bytes");
        }
        if (encoding == 1 && rawBytes / MaxInflateRatio > storedBytes) {
            return cursor_.failAt(start, std::to_string(length) + " elements cannot come from " +
                                             std::to_string(storedBytes) + " compressed bytes");
        }
        const bool real = type == 'f' || type == 'd';
        property.kind = real ? FbxProperty::Kind::RealArray : FbxProperty::Kind::IntegerArray;
        if (real) {
            property.reals.resize(static_cast<std::size_t>(length));
        } else {
            property.integers.resize(static_cast<std::size_t>(length));
        }
        // 64-bit elements on a little-endian machine land in place; others are widened.
        const bool inPlace = (type == 'd' || type == 'l') && littleEndianHost();
        std::vector<unsigned char> unpacked;
        unsigned char* raw = nullptr;
        if (inPlace) {
            raw = real ? reinterpret_cast<unsigned char*>(property.reals.data())
                       : reinterpret_cast<unsigned char*>(property.integers.data());
        } else {
            unpacked.resize(static_cast<std::size_t>(rawBytes));
            raw = unpacked.data();
        }
        const unsigned char* stored = reinterpret_cast<const unsigned char*>(data);
        if (encoding == 1) {
            std::string problem;
            if (!inflateExact(stored, static_cast<std::size_t>(storedBytes), raw,
                              static_cast<std::size_t>(rawBytes), problem)) {
                return cursor_.failAt(start, problem);
            }
        } else if (rawBytes > 0) {
            std::memcpy(raw, stored, static_cast<std::size_t>(rawBytes));
        }
        if (!inPlace) {
            for (std::size_t i = 0; i < length; ++i)
                storeElement(type, raw + i * width, property, i);
        }
        return true;
    }

    const std::string& bytes_;
    BinaryCursor cursor_;
    std::size_t offsetWidth_ = 4;
};

}  // namespace

bool readFbxBinary(const std::string& bytes, const std::string& path, FbxDocument& document,
                   LoadError& error) {
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), FbxBinaryMagic, 21) != 0) {
        error.file = path;
        return fail(error, "header", "not a binary FBX file");
    }
    return BinaryParser(bytes, path, error).parse(document);
}

}  // namespace vorel
