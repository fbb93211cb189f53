// encodeAnimation / saveAnimation: an AnimationData back into the animation file format.
#include "assets/save_animation.h"

#include <algorithm>
#include <limits>

#include "assets/byte_writer.h"
#include "assets/file_bytes.h"

namespace vorel {

namespace {

constexpr std::size_t MaxCount = std::numeric_limits<std::uint16_t>::max();

void putKey(ByteWriter& out, const Keyframe& key) {
    out.putF32(key.time);
    out.putF32(key.value);
    out.putU8(key.flags);
    if (!hasTangentsInFile(key)) return;
    out.putF32(key.outTangent.time);
    out.putF32(key.outTangent.value);
    out.putF32(key.inTangent.time);
    out.putF32(key.inTangent.value);
}

void putTrack(ByteWriter& out, const TrackData& track) {
    out.putName(track.name);
    // The four unused vectors.
    for (int i = 0; i < 12; ++i) out.putF32(0.0f);
    for (const std::vector<Keyframe>& channel : track.channels) {
        const std::size_t count = std::min(channel.size(), MaxCount);
        out.putU16(static_cast<std::uint16_t>(count));
        for (std::size_t i = 0; i < count; ++i) putKey(out, channel[i]);
    }
}

}  // namespace

std::string encodeAnimation(const AnimationData& animation) {
    ByteWriter out;
    const AnimationHeader* header = animation.header.get();
    out.putU32(header != nullptr ? header->magic : AnimationMagic);
    out.putF32(header != nullptr ? header->duration : 0.0f);
    const std::size_t trackCount = std::min(animation.tracks.size(), MaxCount);
    out.putU16(static_cast<std::uint16_t>(trackCount));
    for (std::size_t i = 0; i < trackCount; ++i) putTrack(out, animation.tracks[i]);
    return out.takeBytes();
}

bool saveAnimation(const AnimationData& animation, const std::string& path) {
    if (animation.tracks.size() > MaxCount) return false;
    for (const TrackData& track : animation.tracks) {
        for (const std::vector<Keyframe>& channel : track.channels) {
            if (channel.size() > MaxCount) return false;
        }
    }
    return writeFileBytes(path, encodeAnimation(animation));
}

}  // namespace vorel
