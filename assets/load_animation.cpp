// loadAnimation: header, then per track a name, 48 unused bytes and ten channels of 9- or
// 25-byte keys. Every count is checked against the bytes left before anything is allocated.
#include "assets/load_animation.h"

#include <cstdio>

#include "assets/byte_reader.h"
#include "assets/file_bytes.h"
#include "math/hash_name.h"

namespace vorel {

namespace {

constexpr std::uint32_t SwappedMagic = 0x79563412;
constexpr std::size_t UnusedVectorBytes = 4 * 3 * 4;
// An empty name, the unused vectors and ten empty key counts.
constexpr std::size_t MinimumTrackBytes = 1 + UnusedVectorBytes + ChannelCount * 2;
constexpr std::size_t MinimumKeyBytes = 4 + 4 + 1;

std::string magicMessage(std::uint32_t magic) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(magic));
    std::string message = "magic is " + std::string(hex) + ", expected 0x12345679";
    if (magic == SwappedMagic) message += " (written with the other byte order)";
    return message;
}

bool readHeader(ByteReader& reader, AnimationData& animation) {
    reader.setSection("header");
    auto header = std::make_unique<AnimationHeader>();
    if (!reader.readU32(header->magic)) return false;
    if (header->magic != AnimationMagic) return reader.failLastField(magicMessage(header->magic));
    if (!reader.readF32(header->duration) || !reader.readU16(header->trackCount)) return false;
    animation.header = std::move(header);
    return true;
}

bool readTangent(ByteReader& reader, Tangent& tangent) {
    return reader.readF32(tangent.time) && reader.readF32(tangent.value);
}

bool readKey(ByteReader& reader, Keyframe& key) {
    if (!reader.readF32(key.time) || !reader.readF32(key.value) || !reader.readU8(key.flags)) {
        return false;
    }
    if (!hasTangentsInFile(key)) return true;
    return readTangent(reader, key.outTangent) && readTangent(reader, key.inTangent);
}

bool readChannel(ByteReader& reader, std::vector<Keyframe>& keys) {
    std::uint16_t count = 0;
    if (!reader.readU16(count) || !reader.canHold(count, MinimumKeyBytes, "key")) return false;
    keys.resize(count);
    for (Keyframe& key : keys) {
        if (!readKey(reader, key)) return false;
    }
    computeTangents(keys);
    return true;
}

bool readTrack(ByteReader& reader, TrackData& track) {
    if (!reader.readName(track.name)) return false;
    track.nameHash = hashName(track.name);
    if (!reader.skip(UnusedVectorBytes)) return false;
    for (std::vector<Keyframe>& channel : track.channels) {
        if (!readChannel(reader, channel)) return false;
    }
    return true;
}

bool readAnimation(ByteReader& reader, AnimationData& animation) {
    if (!readHeader(reader, animation)) return false;
    if (!reader.canHold(animation.header->trackCount, MinimumTrackBytes, "track")) return false;
    animation.tracks.resize(animation.header->trackCount);
    for (std::size_t i = 0; i < animation.tracks.size(); ++i) {
        reader.setSection("track", static_cast<std::int64_t>(i));
        if (!readTrack(reader, animation.tracks[i])) return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<AnimationData> loadAnimationFromBytes(const std::string& bytes,
                                                      const std::string& fileName,
                                                      LoadError* error) {
    auto animation = std::make_unique<AnimationData>();
    ByteReader reader(bytes, fileName, error);
    if (!readAnimation(reader, *animation)) return nullptr;
    return animation;
}

std::unique_ptr<AnimationData> loadAnimation(const std::string& path, LoadError* error) {
    std::string bytes;
    if (!readFileBytes(path, bytes, error)) return nullptr;
    return loadAnimationFromBytes(bytes, path, error);
}

}  // namespace vorel
