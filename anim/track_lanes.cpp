// TrackLanes: four tracks to a block, each channel's state in lanes; the lanes' answer to a
// sample in the order sampleChannel's tests run, and the fallback to the key search.
#include "anim/track_lanes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "anim/channel_ends.h"
#include "anim/sample_channel.h"
#include "math/precise.h"

namespace vorel {

namespace {

// What an empty channel contributes: no translation, unit scale, the identity rotation.
constexpr float NeutralValues[ChannelCount] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                               1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
// HotChannel::mode holds the SegmentMode in its low bits and this bit for keys in order.
constexpr std::int32_t ModeBits = 3;
constexpr std::int32_t InOrderBit = 4;
constexpr std::size_t FirstRotationChannel = 6;

// The lanes past the last track sample this: every channel empty, so it clamps to neutral.
const TrackData& emptyTrack() {
    static const TrackData empty;
    return empty;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Same key times and time tangents, bit for bit: every segment then has the same time
// polynomial, and the key search stops at the same segment for any time.
bool sameTimeline(const std::vector<Keyframe>& a, const std::vector<Keyframe>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Keyframe& p, const Keyframe& q) {
                          return bitsOf(p.time) == bitsOf(q.time) &&
                                 bitsOf(p.inTangent.time) == bitsOf(q.inTangent.time) &&
                                 bitsOf(p.outTangent.time) == bitsOf(q.outTangent.time);
                      });
}

bool inTimeOrder(const std::vector<Keyframe>& keys) {
    for (std::size_t k = 1; k < keys.size(); ++k) {
        if (!(keys[k - 1].time <= keys[k].time)) return false;
    }
    return true;
}

// Per channel, the first channel of the track on the same timeline.
std::array<int, ChannelCount> timelinesOf(const TrackData& track) {
    std::array<int, ChannelCount> timelines{};
    for (std::size_t c = 0; c < ChannelCount; ++c) {
        std::size_t first = 0;
        while (!sameTimeline(track.channels[first], track.channels[c])) ++first;
        timelines[c] = static_cast<int>(first);
    }
    return timelines;
}

int lowestLane(int bits) {
    int lane = 0;
    while ((bits & (1 << lane)) == 0) ++lane;
    return lane;
}

template <typename Channel>
FloatLanes timeAt(const Channel& hot, FloatLanes s) {
    return hot.ta + s * (hot.ma + s * (hot.bT + s * hot.aT));
}

template <typename Channel>
FloatLanes curveValueAt(const Channel& hot, FloatLanes s) {
    return hot.va + s * (hot.na + s * (hot.bV + s * hot.aV));
}

// Where Newton's steps left each stepping lane, and the lanes whose steps stalled above the
// march's tolerance.
struct NewtonSteps {
    FloatLanes parameter;
    IntLanes onItsOwn;
};

// Newton's method of refineCurveParameter in lanes, each lane until its own exit.
template <typename Curve>
NewtonSteps stepNewton(const Curve& hot, IntLanes stepping, FloatLanes time, FloatLanes guess,
                       FloatLanes error) {
    NewtonSteps solve{guess, IntLanes{}};
    FloatLanes size = absLanes(error);
    IntLanes active = stepping;
    FloatLanes at = guess;
    while (laneBits(active) != 0) {
        const FloatLanes slope =
            at * (splatLanes(3.0f) * hot.aT * at + splatLanes(2.0f) * hot.bT) + hot.ma;
        const FloatLanes stepped = at + error / slope;
        const FloatLanes steppedError = time - timeAt(hot, stepped);
        const FloatLanes steppedSize = absLanes(steppedError);
        const IntLanes stalled = active & ~(steppedSize < size);
        const IntLanes closeEnough = stalled & (steppedSize <= MarchTolerance);
        solve.parameter = selectLanes(closeEnough, stepped, solve.parameter);
        solve.onItsOwn |= stalled & ~closeEnough;
        active &= ~stalled;
        at = selectLanes(active, stepped, at);
        error = selectLanes(active, steppedError, error);
        size = selectLanes(active, steppedSize, size);
        const IntLanes converged = active & (size <= NewtonTolerance);
        solve.parameter = selectLanes(converged, at, solve.parameter);
        active &= ~converged;
    }
    return solve;
}

}  // namespace

TrackLanes::TrackLanes(const std::vector<const TrackData*>& tracks)
    : trackCount_(tracks.size()),
      hot_((tracks.size() + LaneCount - 1) / LaneCount),
      cold_(hot_.size()) {
    for (std::size_t block = 0; block < hot_.size(); ++block) {
        std::array<std::array<int, ChannelCount>, LaneCount> timelines;
        for (int lane = 0; lane < LaneCount; ++lane) {
            const std::size_t track = block * LaneCount + static_cast<std::size_t>(lane);
            const TrackData& data = track < tracks.size() ? *tracks[track] : emptyTrack();
            prepareLane(block, lane, data);
            timelines[static_cast<std::size_t>(lane)] = timelinesOf(data);
        }
        hot_[block].oneTimeline = true;
        for (std::size_t c = 0; c < ChannelCount; ++c) {
            const int leader = timelines[0][c];
            bool shared = leader < static_cast<int>(c);
            for (const auto& lane : timelines) shared = shared && lane[c] == leader;
            hot_[block].solveSharedWith[c] = static_cast<std::int8_t>(shared ? leader : -1);
            hot_[block].oneTimeline =
                hot_[block].oneTimeline && (c == 0 || (shared && leader == 0));
        }
    }
}

void TrackLanes::prepareLane(std::size_t block, int lane, const TrackData& track) {
    cold_[block].tracks[lane] = &track;
    for (std::size_t c = 0; c < ChannelCount; ++c) {
        const std::vector<Keyframe>& keys = track.channels[c];
        const ChannelEnds ends = ChannelEnds::of(keys, NeutralValues[c]);
        ColdChannel& cold = cold_[block].channels[c];
        cold.firstTime[lane] = ends.firstTime;
        cold.lastTime[lane] = ends.lastTime;
        cold.firstValue[lane] = ends.firstValue;
        cold.lastValue[lane] = ends.lastValue;
        const ChannelCache fresh;
        cold.cacheIndex[lane] = fresh.index;
        HotChannel& hot = hot_[block].channels[c];
        hot.cacheValue[lane] = fresh.value;
        hot.cacheTime[lane] = fresh.time;
        hot.mode[lane] = inTimeOrder(keys) ? InOrderBit : 0;
        setSegment(block, lane, c, PreparedSegment(fresh.index, keys));
    }
}

void TrackLanes::setSegment(std::size_t block, int lane, std::size_t channel,
                            const PreparedSegment& segment) {
    HotChannel& hot = hot_[block].channels[channel];
    const CurveSegment& curve = segment.curve;
    hot.ta[lane] = curve.ta;
    hot.tb[lane] = curve.tb;
    hot.va[lane] = curve.va;
    hot.ma[lane] = curve.ma;
    hot.aT[lane] = curve.aT;
    hot.bT[lane] = curve.bT;
    hot.na[lane] = segment.mode == SegmentMode::Linear ? segment.rise : curve.na;
    hot.aV[lane] = curve.aV;
    hot.bV[lane] = curve.bV;
    hot.mode[lane] = (hot.mode[lane] & InOrderBit) | static_cast<std::int32_t>(segment.mode);
    if (segment.mode == SegmentMode::Curve) {
        TimeCurve& timeline = hot_[block].timeline;
        timeline.ta[lane] = curve.ta;
        timeline.ma[lane] = curve.ma;
        timeline.aT[lane] = curve.aT;
        timeline.bT[lane] = curve.bT;
    }
}

void TrackLanes::sample(float time) {
    const FloatLanes now = splatLanes(time);
    for (std::size_t block = 0; block < hot_.size(); ++block) sampleBlock(block, now);
}

// The tests of sampleChannel in its order, lane by lane. NOTE: with its keys in time order, a
// time strictly inside the cached segment lies strictly between the first and last key, and
// a cached value at that time came from this same segment, so the later tests could only
// answer what the segment does: when every lane is such a time, only the segment is read.
void TrackLanes::sampleBlock(std::size_t block, FloatLanes time) {
    HotBlock& hot = hot_[block];
    if (hot.oneTimeline && sampleAlongTimeline(hot, time)) {
        normaliseRotations(hot);
        return;
    }
    BlockSolves solves;
    for (std::size_t c = 0; c < ChannelCount; ++c) {
        HotChannel& channel = hot.channels[c];
        const IntLanes inside = (channel.ta < time) & (time < channel.tb);
        const IntLanes early = inside & ((channel.mode & InOrderBit) != 0);
        if (laneBits(early) == AllLanes) {
            const FloatLanes value = interpolateLanes(hot, c, early, time, early, solves);
            channel.cacheValue = value;
            channel.cacheTime = time;
            hot.values[c] = value;
        } else {
            hot.values[c] = sampleOutsideSegments(block, c, time, inside, early, solves);
        }
    }
    normaliseRotations(hot);
}

// A block keyed on one timeline, every lane strictly inside its segment with keys in order:
// the ten channels of a lane then stand on the same segment (their key searches read the same
// times), so one guess, one time error and one curve solve serve them all. False, with
// nothing written, when that does not hold or a lane must be solved on its own.
bool TrackLanes::sampleAlongTimeline(HotBlock& block, FloatLanes time) {
    const HotChannel& lead = block.channels[0];
    const IntLanes early = (lead.ta < time) & (time < lead.tb) & ((lead.mode & InOrderBit) != 0);
    if (laneBits(early) != AllLanes) return false;
    IntLanes anyCurve{};
    for (const HotChannel& channel : block.channels) {
        anyCurve |= (channel.mode & ModeBits) == static_cast<std::int32_t>(SegmentMode::Curve);
    }
    const FloatLanes guess = (time - lead.ta) / (lead.tb - lead.ta);
    const FloatLanes error = time - timeAt(block.timeline, guess);
    const IntLanes stepping = anyCurve & ~(absLanes(error) <= NewtonTolerance);
    FloatLanes s = guess;
    if (laneBits(stepping) != 0) {
        const NewtonSteps steps = stepNewton(block.timeline, stepping, time, guess, error);
        if (laneBits(steps.onItsOwn) != 0) return false;
        s = selectLanes(stepping, steps.parameter, s);
    }
    for (std::size_t c = 0; c < ChannelCount; ++c) {
        HotChannel& channel = block.channels[c];
        const IntLanes mode = channel.mode & ModeBits;
        const IntLanes curve = mode == static_cast<std::int32_t>(SegmentMode::Curve);
        const IntLanes linear = mode == static_cast<std::int32_t>(SegmentMode::Linear);
        const FloatLanes value =
            selectLanes(curve, curveValueAt(channel, s),
                        selectLanes(linear, channel.va + guess * channel.na, channel.va));
        channel.cacheValue = value;
        channel.cacheTime = time;
        block.values[c] = value;
    }
    return true;
}

// The value of each lane's prepared segment, in the float operations of
// PreparedSegment::valueAt; the curve solve takes the linear guess where it is close enough.
inline FloatLanes TrackLanes::interpolateLanes(const HotBlock& block, std::size_t channel,
                                               IntLanes lanes, FloatLanes time, IntLanes early,
                                               BlockSolves& solves) const {
    const HotChannel& hot = block.channels[channel];
    const FloatLanes guess = (time - hot.ta) / (hot.tb - hot.ta);
    const IntLanes mode = hot.mode & ModeBits;
    const IntLanes curve = lanes & (mode == static_cast<std::int32_t>(SegmentMode::Curve));
    const IntLanes linear = mode == static_cast<std::int32_t>(SegmentMode::Linear);
    const FloatLanes error = time - timeAt(hot, guess);
    IntLanes stepping = curve & ~(absLanes(error) <= NewtonTolerance);
    solves.solved[channel] = IntLanes{};
    FloatLanes s = guess;
    FloatLanes curveValue;
    if (laneBits(stepping) != 0) {
        // Channels of one timeline whose keys are in order settle on the same segment for a
        // time strictly inside it, so a solve found there serves every such lane of it.
        const int sharedWith = block.solveSharedWith[channel];
        if (sharedWith >= 0) {
            const IntLanes shared = stepping & early & solves.solved[sharedWith];
            s = selectLanes(shared, solves.parameter[sharedWith], s);
            stepping &= ~shared;
        }
    }
    if (laneBits(stepping) == 0) {
        curveValue = curveValueAt(hot, s);
    } else {
        const SteppedSolve solve = solveStepping(hot, stepping, time, guess, error);
        solves.solved[channel] = stepping & early & ~solve.onItsOwn;
        solves.parameter[channel] = solve.parameter;
        s = selectLanes(stepping, solve.parameter, s);
        curveValue = selectLanes(solve.onItsOwn, solve.valueOnItsOwn, curveValueAt(hot, s));
    }
    const FloatLanes linearValue = hot.va + guess * hot.na;
    return selectLanes(curve, curveValue, selectLanes(linear, linearValue, hot.va));
}

// Newton's method of refineCurveParameter in lanes, each lane until its own exit; a lane
// whose steps stall above the march's tolerance is solved on its own (the march).
TrackLanes::SteppedSolve TrackLanes::solveStepping(const HotChannel& hot, IntLanes stepping,
                                                   FloatLanes time, FloatLanes guess,
                                                   FloatLanes error) {
    const NewtonSteps steps = stepNewton(hot, stepping, time, guess, error);
    SteppedSolve solve{steps.parameter, steps.onItsOwn, FloatLanes{}};
    for (int own = laneBits(solve.onItsOwn); own != 0; own &= own - 1) {
        const int lane = lowestLane(own);
        CurveSegment curve;
        curve.ta = hot.ta[lane];
        curve.tb = hot.tb[lane];
        curve.va = hot.va[lane];
        curve.ma = hot.ma[lane];
        curve.na = hot.na[lane];
        curve.aT = hot.aT[lane];
        curve.bT = hot.bT[lane];
        curve.aV = hot.aV[lane];
        curve.bV = hot.bV[lane];
        solve.valueOnItsOwn[lane] = curve.valueAt(solveCurveTime(curve, time[lane], guess[lane]));
    }
    return solve;
}

// A block with a lane outside its segment or keys out of order: the clamps to the end keys,
// the cached time, the segment, and the key search for what is left.
FloatLanes TrackLanes::sampleOutsideSegments(std::size_t block, std::size_t channel,
                                             FloatLanes time, IntLanes inside, IntLanes early,
                                             BlockSolves& solves) {
    HotChannel& hot = hot_[block].channels[channel];
    const ColdChannel& cold = cold_[block].channels[channel];
    IntLanes rest = ~early;
    const IntLanes atLast = rest & (cold.lastTime <= time);
    rest &= ~atLast;
    const IntLanes atFirst = rest & (time <= cold.firstTime);
    rest &= ~atFirst;
    const IntLanes atCachedTime = rest & (time == hot.cacheTime);
    rest &= ~atCachedTime;
    const IntLanes interpolated = early | (rest & inside);
    rest &= ~inside;
    FloatLanes value = hot.va;
    solves.solved[channel] = IntLanes{};
    if (laneBits(interpolated) != 0) {
        value = interpolateLanes(hot_[block], channel, interpolated, time, early, solves);
        hot.cacheValue = selectLanes(interpolated, value, hot.cacheValue);
        hot.cacheTime = selectLanes(interpolated, time, hot.cacheTime);
    }
    value = selectLanes(
        atLast, cold.lastValue,
        selectLanes(atFirst, cold.firstValue, selectLanes(atCachedTime, hot.cacheValue, value)));
    for (int searching = laneBits(rest); searching != 0; searching &= searching - 1) {
        const int lane = lowestLane(searching);
        value[lane] = searchLane(block, lane, channel, time[lane]);
    }
    return value;
}

// sampleChannel on the lane's own cache, and the segment prepared again when it moved.
float TrackLanes::searchLane(std::size_t block, int lane, std::size_t channel, float time) {
    HotChannel& hot = hot_[block].channels[channel];
    ColdChannel& cold = cold_[block].channels[channel];
    const std::vector<Keyframe>& keys = cold_[block].tracks[lane]->channels[channel];
    ChannelCache cache{cold.cacheIndex[lane], hot.cacheValue[lane], hot.cacheTime[lane]};
    const float value = sampleChannel(cache, time, keys, NeutralValues[channel]);
    hot.cacheValue[lane] = cache.value;
    hot.cacheTime[lane] = cache.time;
    if (cache.index != cold.cacheIndex[lane]) {
        cold.cacheIndex[lane] = cache.index;
        setSegment(block, lane, channel, PreparedSegment(cache.index, keys));
    }
    return value;
}

// Unit length as Quaternion::normalize makes it (one reciprocal of the length, the square
// root taken in double precision), except that a zero-length rotation becomes the identity.
void TrackLanes::normaliseRotations(HotBlock& block) {
    FloatLanes* rotation = block.values + FirstRotationChannel;
    const FloatLanes dot = rotation[0] * rotation[0] + rotation[1] * rotation[1] +
                           rotation[2] * rotation[2] + rotation[3] * rotation[3];
    FloatLanes length;
    for (int lane = 0; lane < LaneCount; ++lane) length[lane] = preciseSqrt(dot[lane]);
    const FloatLanes k = splatLanes(1.0f) / length;
    const IntLanes zero = dot == 0.0f;
    const FloatLanes identity[4] = {FloatLanes{}, FloatLanes{}, FloatLanes{}, splatLanes(1.0f)};
    for (int q = 0; q < 4; ++q) rotation[q] = selectLanes(zero, identity[q], rotation[q] * k);
}

ChannelCache TrackLanes::cache(std::size_t track, std::size_t channel) const {
    const std::size_t block = track / LaneCount;
    const auto lane = static_cast<int>(track % LaneCount);
    return ChannelCache{cold_[block].channels[channel].cacheIndex[lane],
                        hot_[block].channels[channel].cacheValue[lane],
                        hot_[block].channels[channel].cacheTime[lane]};
}

}  // namespace vorel
