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

struct Keyframe {
    float time = 0.0f;
    float value = 0.0f;
    // Bit 0: no tangents in the file; (flags >> 1) & 3: mode of the segment starting here.
    std::uint8_t flags = 0;
    // Held negated with respect to the curve's direction; the sampler negates them back.
    Tangent outTangent;
    Tangent inTangent;
};

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
