// Sampling benchmarks over one long curve channel; each iteration is one sample.
#include "bench/sampling_benchmarks.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "anim/sample_channel.h"
#include "assets/load_animation.h"
#include "bench/cost_counter.h"
#include "bench/update_loop.h"

namespace vorel {

namespace {

constexpr int KeyCount = 10000;
// Ten frames per segment.
constexpr float KeySpacing = 0.1f;
const std::uint8_t SamplingCurveKeyFlags = keyFlags(SegmentMode::Curve, false);

std::vector<Keyframe> makeLongCurveChannel() {
    std::vector<Keyframe> keys(KeyCount);
    for (int k = 0; k < KeyCount; ++k) {
        Keyframe& key = keys[static_cast<std::size_t>(k)];
        key.time = KeySpacing * static_cast<float>(k);
        key.value = std::sin(0.37f * static_cast<float>(k));
        key.flags = SamplingCurveKeyFlags;
    }
    computeTangents(keys);
    return keys;
}

const std::vector<Keyframe>& longCurveChannel() {
    static const std::vector<Keyframe> keys = makeLongCurveChannel();
    return keys;
}

// Frame after frame from the first key to the last, then again from a fresh cache.
void sampleForward(benchmark::State& state) {
    const std::vector<Keyframe>& keys = longCurveChannel();
    const int frames = static_cast<int>(keys.back().time / FrameStep);
    ChannelCache cache;
    int frame = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sampleChannel(cache, static_cast<float>(frame) * FrameStep, keys));
        if (++frame == frames) {
            frame = 0;
            cache = ChannelCache{};
        }
    }
    state.counters["per sample"] = costPer(1.0);
}

// The same channel at times drawn evenly from its whole length.
void sampleAtRandom(benchmark::State& state) {
    const std::vector<Keyframe>& keys = longCurveChannel();
    std::mt19937 generator(8);
    std::uniform_real_distribution<float> anyTime(0.0f, keys.back().time);
    std::vector<float> times(1 << 16);
    for (float& time : times) time = anyTime(generator);
    ChannelCache cache;
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sampleChannel(cache, times[next], keys));
        next = (next + 1) % times.size();
    }
    state.counters["per sample"] = costPer(1.0);
}

}  // namespace

void registerSamplingBenchmarks() {
    benchmark::RegisterBenchmark("Sampling/10000 cubic keys/forward", sampleForward);
    benchmark::RegisterBenchmark("Sampling/10000 cubic keys/random", sampleAtRandom);
}

}  // namespace vorel
