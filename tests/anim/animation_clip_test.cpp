// AnimationClip::tracksNaming: every track whose name hash matches, in track order, and none
// for a hash no track has, over clips large enough to fill the lookup table's probes.
#include "anim/animation_clip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

TEST(AnimationClipTracksNaming, FindsEveryTrackOfAHashInTrackOrderAndNothingElse) {
    std::mt19937 random(7);
    for (const int trackCount : {0, 1, 3, 64, 700}) {
        std::vector<TrackData> tracks(static_cast<std::size_t>(trackCount));
        // Few distinct hashes, some repeated, some a multiple of a large power of two apart.
        std::uniform_int_distribution<std::uint32_t> pick(0,
                                                          static_cast<std::uint32_t>(trackCount));
        for (TrackData& track : tracks)
            track.nameHash = (pick(random) % 97) << (pick(random) % 3 * 12);
        const auto animation = test_support::makeAnimation(1.0f, std::move(tracks));
        const AnimationClip clip(animation.get());
        // Every hash the tracks have, and as many that no track has.
        std::vector<std::uint32_t> probes;
        for (const TrackData& track : animation->tracks) {
            probes.push_back(track.nameHash);
            probes.push_back(track.nameHash | 0x80000000u);
        }
        for (const std::uint32_t hash : probes) {
            std::vector<std::uint32_t> expected;
            for (std::uint32_t t = 0; t < animation->tracks.size(); ++t) {
                if (animation->tracks[t].nameHash == hash) expected.push_back(t);
            }
            std::vector<std::uint32_t> found;
            for (const TrackMatch& match : clip.tracksNaming(hash)) {
                EXPECT_EQ(hash, match.nameHash);
                found.push_back(match.track);
            }
            EXPECT_EQ(expected, found) << trackCount << " tracks, hash " << hash;
        }
    }
}

}  // namespace
}  // namespace vorel
