// AnimationData: one loaded animation file: its header and one track of ten keyed channels
// per animated bone. Read-only once loaded; clips point into it. Loader: load_animation.h.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorel {

// The first four bytes of every animation file, read little-endian (79 56 34 12 on disk).
constexpr std::uint32_t AnimationMagic = 0x12345679;

struct AnimationHeader {
    std::uint32_t magic = 0;
    // Length of the animation in clock units; a playing record ends once past it.
    float duration = 0.0f;
    std::uint16_t trackCount = 0;
};

struct Tangent {
    float time = 0.0f;
    float value = 0.0f;
};

// How the segment from a key to the next one runs: held at the first key's value, straight
// between the two values, or along the curve their tangents shape. The two bits can also hold
// 3, which runs as a curve like 2.
enum class SegmentMode : std::uint8_t { Constant = 0, Linear = 1, Curve = 2 };

// Bit 0 of a key's flags: the file holds no tangents for the key (9 bytes on disk instead of
// 25) and the loader computes them.
constexpr std::uint8_t NoTangentsFlag = 0x01;

struct Keyframe {
    float time = 0.0f;
    float value = 0.0f;
    // Bit 0: NoTangentsFlag; bits 1-2: the SegmentMode of the segment starting here.
    std::uint8_t flags = 0;
    // Held negated with respect to the curve's direction; the sampler negates them back.
    Tangent outTangent;
    Tangent inTangent;
};

// The mode of the segment that starts at this key (bits 1-2 of its flags).
inline SegmentMode segmentMode(const Keyframe& key) {
    return static_cast<SegmentMode>((key.flags >> 1) & 3);
}
// Flags for a key starting a segment of this mode, with or without tangents in the file.
inline std::uint8_t keyFlags(SegmentMode mode, bool tangentsInFile) {
    const auto modeBits = static_cast<std::uint8_t>(static_cast<std::uint8_t>(mode) << 1);
    return tangentsInFile ? modeBits : static_cast<std::uint8_t>(modeBits | NoTangentsFlag);
}
// Whether the file holds this key's tangents.
inline bool hasTangentsInFile(const Keyframe& key) {
    return (key.flags & NoTangentsFlag) == 0;
}

// Channels 0-2 translation x, y, z; 3-5 scale x, y, z; 6-9 rotation x, y, z, w.
constexpr int ChannelCount = 10;

struct TrackData {
    std::string name;
    std::uint32_t nameHash = 0;
    // Keys in file order; an empty channel had a key count of 0.
    std::array<std::vector<Keyframe>, ChannelCount> channels;
};

class AnimationData {
  public:
    AnimationData() = default;
    virtual ~AnimationData();
    AnimationData(const AnimationData&) = delete;
    AnimationData& operator=(const AnimationData&) = delete;

    std::unique_ptr<AnimationHeader> header;
    std::vector<TrackData> tracks;
};

}  // namespace vorel
