// TrackLanes: the sampling state of many tracks in one arena, sized when built, laid out so
// that one register holds the same channel of four tracks. A time inside every lane's
// prepared segment is answered in lanes (the in-segment test, the curve solve, the cubic, the
// rotation's normalisation); a lane that clamps or meets its cached time is answered in lanes
// too; only a lane whose key search must move falls back to sampleChannel on its own. Every
// value is the one sampleChannel would give, bit for bit: each lane runs the same float
// operations in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "anim/channel_cache.h"
#include "anim/lane_transform.h"
#include "anim/prepared_segment.h"
#include "assets/animation_data.h"
#include "math/float_lanes.h"
#include "skeleton/bone_transform.h"

namespace vorel {

class TrackLanes {
  public:
    // The tracks are not owned and must not change while the lanes live.
    explicit TrackLanes(const std::vector<const TrackData*>& tracks);

    // Samples every track at the time; pose() then reads the results.
    void sample(float time);

    std::size_t size() const { return trackCount_; }
    // Tracks 4 * block to 4 * block + 3 in lanes (past the last track: neutral values), at
    // the last sampled time, channel by channel, the rotation's four of unit length.
    std::size_t blockCount() const { return hot_.size(); }
    const FloatLanes* blockValues(std::size_t block) const { return hot_[block].values; }
    // The track's transform at the last sampled time, its rotation of unit length.
    BoneTransform pose(std::size_t track) const {
        return transformInLane(hot_[track / LaneCount].values, static_cast<int>(track % LaneCount));
    }
    // What the track's key search of one channel remembers.
    ChannelCache cache(std::size_t track, std::size_t channel) const;

  private:
    // What a time inside a channel's cached segment reads: the segment prepared (its key
    // times, start value, polynomials; `na` holds the rise of a linear segment), its mode
    // with bit InOrderBit set where the channel's keys are in time order, and the cache's
    // last answer. Without a segment the times are not numbers, so that no time lies inside.
    struct HotChannel {
        FloatLanes ta, tb, va, ma, aT, bT, na, aV, bV;
        IntLanes mode;
        FloatLanes cacheValue, cacheTime;
    };
    // What only a lane that is not inside its segment reads: the first and last key, and
    // the key the cached segment starts at.
    struct ColdChannel {
        FloatLanes firstTime, lastTime, firstValue, lastValue;
        IntLanes cacheIndex;
    };
    // The time polynomial (and start time) of a lane's curve segments, where every channel
    // of the block is keyed on one timeline.
    struct TimeCurve {
        FloatLanes ta, ma, aT, bT;
    };
    struct HotBlock {
        HotChannel channels[ChannelCount];
        // Set by each curve segment prepared in the block: in a block keyed on one timeline,
        // every curve segment of a lane holds these same bits.
        TimeCurve timeline;
        // The sampled values, channel by channel; the rotation's four of unit length.
        FloatLanes values[ChannelCount];
        // Per channel, the channel keyed at the same times with the same time tangents in
        // every lane of the block (so that its curve solve serves this one too), or -1.
        std::int8_t solveSharedWith[ChannelCount];
        // Every channel of every lane keyed at the same times with the same time tangents as
        // the lane's first channel.
        bool oneTimeline;
    };
    struct ColdBlock {
        ColdChannel channels[ChannelCount];
        // Per lane the track sampled (a track of empty channels past the last one).
        const TrackData* tracks[LaneCount];
    };
    // Curve solves of the block at this time: per channel, lanes whose parameter was found
    // by Newton steps in lanes, and that parameter.
    struct BlockSolves {
        IntLanes solved[ChannelCount];
        FloatLanes parameter[ChannelCount];
    };
    // Where T(s) = time for the lanes whose linear guess missed, and the value of the lanes
    // that had to be solved on their own.
    struct SteppedSolve {
        FloatLanes parameter;
        IntLanes onItsOwn;
        FloatLanes valueOnItsOwn;
    };

    void prepareLane(std::size_t block, int lane, const TrackData& track);
    void setSegment(std::size_t block, int lane, std::size_t channel,
                    const PreparedSegment& segment);
    void sampleBlock(std::size_t block, FloatLanes time);
    static bool sampleAlongTimeline(HotBlock& block, FloatLanes time);
    FloatLanes interpolateLanes(const HotBlock& block, std::size_t channel, IntLanes lanes,
                                FloatLanes time, IntLanes early, BlockSolves& solves) const;
    static SteppedSolve solveStepping(const HotChannel& hot, IntLanes stepping, FloatLanes time,
                                      FloatLanes guess, FloatLanes error);
    FloatLanes sampleOutsideSegments(std::size_t block, std::size_t channel, FloatLanes time,
                                     IntLanes inside, IntLanes early, BlockSolves& solves);
    float searchLane(std::size_t block, int lane, std::size_t channel, float time);
    static void normaliseRotations(HotBlock& block);

    std::size_t trackCount_ = 0;
    std::vector<HotBlock> hot_;
    std::vector<ColdBlock> cold_;
};

}  // namespace vorel
