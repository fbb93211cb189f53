// The per-frame path allocates nothing once warmed up: dances starting, playing, being stopped
// and expiring, counted by this binary's replaced operator new.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "anim/figure.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/synthetic_dances.h"

namespace vorel {
namespace {

constexpr int Bones = 6;
const char* const DanceNames[] = {"Cancan", "Strut", "Salute"};

std::unique_ptr<AssetLibrary> makeSyntheticLibrary(bool weighted = false) {
    auto library = std::make_unique<AssetLibrary>();
    library->addModel(weighted ? test_support::makeSyntheticWeightedDancer(Bones)
                               : test_support::makeSyntheticDancer(Bones),
                      "dancer");
    library->addAnimation(test_support::makeSyntheticDance(Bones, 0.3f, 1), DanceNames[0]);
    library->addAnimation(test_support::makeSyntheticDance(Bones, 0.55f, 2), DanceNames[1]);
    library->addAnimation(test_support::makeSyntheticDance(Bones, 0.1f, 3), DanceNames[2]);
    return library;
}

// One frame of a schedule that repeats every 7 * 11 * 13 frames: three dances started at
// their own rhythms (Strut as two copies), and now and then the oldest record stopped.
void playFrame(Figure& figure, int frame) {
    const float clock = static_cast<float>(frame) * 0.01f;
    if (frame % 7 == 0) {
        ActiveAnimation record(DanceNames[0], clock);
        figure.startAnimation(record);
    }
    if (frame % 11 == 0) {
        ActiveAnimation first(DanceNames[1], clock);
        ActiveAnimation second(DanceNames[1], clock);
        figure.startAnimation(first);
        figure.startAnimation(second);
    }
    if (frame % 13 == 0) {
        ActiveAnimation record(DanceNames[2], clock);
        figure.startAnimation(record);
    }
    if (frame % 17 == 0 && !figure.playing.empty()) figure.stopAnimation(figure.playing.front().id);
    figure.update(0.01f);
}

void expectFramesAllocateNothing(bool weighted) {
    auto library = makeSyntheticLibrary(weighted);
    Figure figure(library.get());
    EXPECT_EQ(weighted ? 3u : 0u, figure.instances[0]->skinning().weightedGroups().size());
    constexpr int Period = 7 * 11 * 13;
    for (int frame = 0; frame < Period; ++frame) playFrame(figure, frame);

    const std::size_t before = test_support::allocationCount();
    std::size_t mostPlaying = 0;
    for (int frame = Period; frame < 3 * Period; ++frame) {
        playFrame(figure, frame);
        mostPlaying = std::max(mostPlaying, figure.playing.size());
    }
    EXPECT_EQ(before, test_support::allocationCount());
    EXPECT_GE(mostPlaying, 4u);
}

TEST(FigureAllocation, FramesAllocateNothingOnceWarmedUp) {
    expectFramesAllocateNothing(false);
}

TEST(FigureAllocation, SmoothlySkinnedFramesAllocateNothingEither) {
    expectFramesAllocateNothing(true);
}

TEST(FigureAllocation, CounterSeesAllocations) {
    const std::size_t before = test_support::allocationCount();
    auto library = makeSyntheticLibrary();
    EXPECT_GT(test_support::allocationCount(), before);
}

// A type aligned beyond what malloc promises is made by the aligned operator new.
struct alignas(64) CacheLine {
    float values[16] = {};
};

TEST(FigureAllocation, CounterSeesOverAlignedAllocationsAndTheirRelease) {
    const std::size_t heldBefore = test_support::heldBytes();
    const std::size_t before = test_support::allocationCount();
    {
        auto one = std::make_unique<CacheLine>();
        auto many = std::make_unique<CacheLine[]>(3);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(one.get()) % 64, 0u);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(many.get()) % 64, 0u);
        EXPECT_EQ(test_support::allocationCount(), before + 2);
        EXPECT_GE(test_support::heldBytes(), heldBefore + 4 * sizeof(CacheLine));
    }
    EXPECT_EQ(test_support::heldBytes(), heldBefore);
}

}  // namespace
}  // namespace vorel
