// Tracks sampled in lanes against sampling built from the keys on the spot: a track, and every
// track of a clip, answers every time exactly as sampleChannel on its own caches would, bit
// for bit,
// over random channels keyed apart and keyed together,
// forward steps and jumps both ways, two local times sharing one track, and two records of
// one dance sharing one clip in a figure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "anim/animation_clip.h"
#include "anim/animation_track.h"
#include "anim/figure.h"
#include "anim/sample_channel.h"
#include "assets/load_animation.h"
#include "tests/support/float_bits.h"
#include "tests/support/runtime_test_models.h"
#include "tests/support/synthetic_dances.h"

namespace vorel {
namespace {

using test_support::makeKey;

constexpr float NeutralValues[ChannelCount] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                                               1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

using test_support::bitsOf;

// 0 to 8 keys in increasing time (now and then two at one time), every mode, tangents from
// the loader's rule or, now and then, arbitrary ones; one channel in twenty is out of order.
std::vector<Keyframe> makeRandomChannel(std::mt19937& random) {
    std::uniform_int_distribution<int> keyCount(0, 8);
    std::uniform_int_distribution<int> anyMode(0, 3);
    std::uniform_real_distribution<float> gap(0.05f, 1.5f);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    std::uniform_int_distribution<int> oneIn(0, 19);
    std::vector<Keyframe> keys;
    float time = value(random);
    const int count = keyCount(random);
    for (int k = 0; k < count; ++k) {
        keys.push_back(makeKey(time, value(random), static_cast<SegmentMode>(anyMode(random))));
        if (oneIn(random) != 0) time += gap(random);
    }
    const bool loaderTangents = oneIn(random) >= 4;
    if (loaderTangents) computeTangents(keys);
    for (Keyframe& key : keys) {
        if (loaderTangents) break;
        key.outTangent = Tangent{-gap(random), value(random)};
        key.inTangent = Tangent{-gap(random), value(random)};
    }
    if (keys.size() > 2 && oneIn(random) == 0) std::swap(keys[1], keys.back());
    return keys;
}

// The channels keyed together: one channel's times and time tangents throughout, with values,
// modes and value tangents of their own (so one timeline mixes curve, linear and constant
// segments); unless every channel must be, now and then one channel keyed apart.
TrackData makeTrackKeyedTogether(std::mt19937& random, bool everyChannel = false) {
    const std::vector<Keyframe> timeline = makeRandomChannel(random);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    std::uniform_int_distribution<int> anyMode(0, 3);
    std::uniform_int_distribution<int> oneIn(0, 9);
    TrackData track;
    for (std::vector<Keyframe>& channel : track.channels) {
        if (!everyChannel && oneIn(random) == 0) {
            channel = makeRandomChannel(random);
            continue;
        }
        channel = timeline;
        for (Keyframe& key : channel) {
            key.value = value(random);
            key.flags = keyFlags(static_cast<SegmentMode>(anyMode(random)), false);
            key.inTangent.value = value(random);
            key.outTangent.value = value(random);
        }
    }
    return track;
}

// Half the tracks have channels keyed apart, half keyed together.
TrackData makeRandomTrack(std::mt19937& random) {
    if (std::uniform_int_distribution<int>(0, 1)(random) == 0)
        return makeTrackKeyedTogether(random);
    TrackData track;
    for (std::vector<Keyframe>& channel : track.channels) channel = makeRandomChannel(random);
    return track;
}

// Every channel of one track sampled with sampleChannel on caches of its own: the reference
// the lanes must agree with bit for bit, in the transform and in the caches left behind.
class FreshSampling {
  public:
    explicit FreshSampling(const TrackData& data) : keys(data.channels) {}

    // cacheOf(c) is the ChannelCache the sampler under test keeps for channel c.
    template <typename CacheOf>
    void expectSame(float time, const BoneTransform& sampled, CacheOf cacheOf) {
        float fresh[ChannelCount];
        for (std::size_t c = 0; c < ChannelCount; ++c) {
            fresh[c] = sampleChannel(caches[c], time, keys[c], NeutralValues[c]);
            const ChannelCache kept = cacheOf(c);
            ASSERT_EQ(caches[c].index, kept.index) << "channel " << c << " t " << time;
            ASSERT_EQ(bitsOf(caches[c].value), bitsOf(kept.value)) << "channel " << c;
            ASSERT_EQ(bitsOf(caches[c].time), bitsOf(kept.time)) << "channel " << c;
        }
        const float translationAndScale[6] = {sampled.translation.x, sampled.translation.y,
                                              sampled.translation.z, sampled.scale.x,
                                              sampled.scale.y,       sampled.scale.z};
        for (std::size_t c = 0; c < 6; ++c) {
            ASSERT_EQ(bitsOf(fresh[c]), bitsOf(translationAndScale[c]))
                << "channel " << c << " t " << time;
        }
        Quaternion rotation;
        rotation.set(fresh[6], fresh[7], fresh[8], fresh[9]);
        if (Quaternion::dot(rotation, rotation) == 0.0f) {
            rotation = Quaternion::Identity;
        } else {
            rotation.normalize();
        }
        ASSERT_EQ(bitsOf(rotation.x), bitsOf(sampled.rotation.x)) << "t " << time;
        ASSERT_EQ(bitsOf(rotation.y), bitsOf(sampled.rotation.y)) << "t " << time;
        ASSERT_EQ(bitsOf(rotation.z), bitsOf(sampled.rotation.z)) << "t " << time;
        ASSERT_EQ(bitsOf(rotation.w), bitsOf(sampled.rotation.w)) << "t " << time;
    }

    // Every key time of every channel, the times the exact-time rules answer.
    std::vector<float> keyTimes() const {
        std::vector<float> times;
        for (const std::vector<Keyframe>& channel : keys) {
            for (const Keyframe& key : channel) times.push_back(key.time);
        }
        return times;
    }

  private:
    const std::array<std::vector<Keyframe>, ChannelCount>& keys;
    std::array<ChannelCache, ChannelCount> caches;
};

// One track on its own (AnimationTrack) against its fresh sampling.
class TrackAgainstFresh {
  public:
    explicit TrackAgainstFresh(const TrackData& data) : track(&data), fresh(data) {}

    void expectSameAt(float time) {
        const BoneTransform sampled = track.sample(time);
        fresh.expectSame(time, sampled, [this](std::size_t c) { return track.cache(c); });
    }
    std::vector<float> keyTimes() const { return fresh.keyTimes(); }

  private:
    AnimationTrack track;
    FreshSampling fresh;
};

TEST(PreparedSegments, MatchFreshSamplingOverForwardStepsAndJumpsBothWays) {
    std::mt19937 random(15);
    std::uniform_real_distribution<float> anyTime(-4.0f, 14.0f);
    std::uniform_int_distribution<int> action(0, 9);
    for (int trial = 0; trial < 200; ++trial) {
        const TrackData data = makeRandomTrack(random);
        TrackAgainstFresh sampling(data);
        const std::vector<float> keyTimes = sampling.keyTimes();
        float time = anyTime(random);
        for (int query = 0; query < 400; ++query) {
            const int next = action(random);
            if (next == 0) {
                time = anyTime(random);
            } else if (next == 1 && !keyTimes.empty()) {
                time = keyTimes[static_cast<std::size_t>(query) % keyTimes.size()];
            } else if (next == 2) {
                time -= 0.37f;
            } else {
                time += 0.01f;
            }
            sampling.expectSameAt(time);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(PreparedSegments, MatchFreshSamplingWhenTwoLocalTimesShareOneTrack) {
    // Two records of one dance sample the same track, one after the other, every frame: the
    // caches swing between their segments.
    std::mt19937 random(16);
    for (int trial = 0; trial < 100; ++trial) {
        const TrackData data = makeRandomTrack(random);
        TrackAgainstFresh sampling(data);
        float older = std::uniform_real_distribution<float>(0.0f, 3.0f)(random);
        float newer = 0.0f;
        for (int frame = 0; frame < 600; ++frame) {
            sampling.expectSameAt(older);
            sampling.expectSameAt(newer);
            if (HasFatalFailure()) return;
            older += 0.01f;
            newer += 0.01f;
        }
    }
}

// Every channel of a track keyed once, at one time: the track clamps to its keys everywhere.
TrackData makeTrackOfSingleKeys(std::mt19937& random) {
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    TrackData track;
    for (std::vector<Keyframe>& channel : track.channels) {
        channel = {makeKey(value(random), value(random), SegmentMode::Curve)};
    }
    return track;
}

// Key times just below, at and just above each key, the ends, times outside every key, and
// the times that are no time at all.
std::vector<float> timesAroundKeys(const std::vector<float>& keyTimes) {
    std::vector<float> times = {-10.0f, 20.0f, std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};
    for (const float key : keyTimes) {
        times.push_back(std::nextafter(key, -20.0f));
        times.push_back(key);
        times.push_back(std::nextafter(key, 20.0f));
    }
    return times;
}

// Every track of a clip of these tracks sampled in lanes against its fresh sampling, around
// every key, at the clamped ends, at times that are no time, forward in frames and in jumps
// both ways.
void expectClipMatchesFreshSampling(std::vector<TrackData> tracks, std::mt19937& random) {
    std::uniform_real_distribution<float> anyTime(-4.0f, 14.0f);
    std::uniform_int_distribution<int> action(0, 9);
    const auto animation = test_support::makeAnimation(10.0f, std::move(tracks));
    AnimationClip clip(animation.get());
    std::vector<FreshSampling> fresh;
    std::vector<float> keyTimes;
    for (const TrackData& track : animation->tracks) {
        fresh.emplace_back(track);
        const std::vector<float> times = fresh.back().keyTimes();
        keyTimes.insert(keyTimes.end(), times.begin(), times.end());
    }
    std::vector<float> times = timesAroundKeys(keyTimes);
    float time = anyTime(random);
    for (int query = 0; query < 600; ++query) {
        const int next = action(random);
        if (next == 0) {
            time = anyTime(random);
        } else if (next == 1) {
            time -= 0.37f;
        } else {
            time += 0.01f;
        }
        times.push_back(time);
    }
    for (const float at : times) {
        clip.sample(at);
        for (std::size_t t = 0; t < fresh.size(); ++t) {
            fresh[t].expectSame(at, clip.pose(t),
                                [&clip, t](std::size_t c) { return clip.cache(t, c); });
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST(ClipLanes, MatchFreshSamplingOfEveryTrackForAnyTrackCount) {
    // Blocks of four tracks side by side: counts below, at and past a multiple of four, with
    // tracks of single keys and empty channels among them.
    std::mt19937 random(17);
    for (const int trackCount : {1, 2, 3, 4, 5, 7, 8, 9, 13}) {
        std::vector<TrackData> tracks;
        for (int t = 0; t < trackCount; ++t) {
            tracks.push_back(t % 5 == 3 ? makeTrackOfSingleKeys(random) : makeRandomTrack(random));
        }
        expectClipMatchesFreshSampling(std::move(tracks), random);
        if (HasFatalFailure()) return;
    }
}

TEST(ClipLanes, MatchFreshSamplingWhenEveryChannelOfEveryTrackIsKeyedTogether) {
    // Whole blocks on one timeline per track, as pose-keyed dances and glTF samplers are:
    // curve, linear and constant segments side by side, time tangents of the loader's rule
    // or arbitrary ones (whose solves may stall and need the march), keys out of order, and
    // now and then a track of single keys.
    std::mt19937 random(18);
    for (int trial = 0; trial < 60; ++trial) {
        const int trackCount = 1 + trial % 9;
        std::vector<TrackData> tracks;
        for (int t = 0; t < trackCount; ++t) {
            tracks.push_back(trial % 7 == 6 && t == 1 ? makeTrackOfSingleKeys(random)
                                                      : makeTrackKeyedTogether(random, true));
        }
        expectClipMatchesFreshSampling(std::move(tracks), random);
        if (HasFatalFailure()) return;
    }
}

std::unique_ptr<AssetLibrary> makeLibraryWithTwinDances() {
    constexpr int Bones = 5;
    auto library = std::make_unique<AssetLibrary>();
    library->addModel(test_support::makeSyntheticDancer(Bones), "dancer");
    library->addAnimation(test_support::makeSyntheticDance(Bones, 1.2f, 4), "Dance");
    library->addAnimation(test_support::makeSyntheticDance(Bones, 1.2f, 4), "Twin");
    return library;
}

void startAt(Figure& figure, const char* name, float clock) {
    ActiveAnimation record(name, clock);
    figure.startAnimation(record);
}

TEST(PreparedSegments, TwoRecordsSharingOneClipPoseLikeTwoSeparateClips) {
    const auto library = makeLibraryWithTwinDances();
    Figure shared(library.get());
    Figure separate(library.get());
    for (int frame = 0; frame < 160; ++frame) {
        const float clock = static_cast<float>(frame) * 0.01f;
        if (frame == 0) {
            startAt(shared, "Dance", clock);
            startAt(separate, "Dance", clock);
        }
        if (frame == 37) {
            startAt(shared, "Dance", clock);
            startAt(separate, "Twin", clock);
        }
        shared.update(0.01f);
        separate.update(0.01f);
        const ModelInstance& a = *shared.instances.front();
        const ModelInstance& b = *separate.instances.front();
        ASSERT_EQ(a.positions.size(), b.positions.size());
        for (std::size_t i = 0; i < a.positions.size(); ++i) {
            ASSERT_EQ(bitsOf(a.positions[i].x), bitsOf(b.positions[i].x)) << "frame " << frame;
            ASSERT_EQ(bitsOf(a.positions[i].y), bitsOf(b.positions[i].y)) << "frame " << frame;
            ASSERT_EQ(bitsOf(a.positions[i].z), bitsOf(b.positions[i].z)) << "frame " << frame;
        }
    }
}

}  // namespace
}  // namespace vorel
