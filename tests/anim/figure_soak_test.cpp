// A long run: 100,000 frames of overlapping dances (several copies of one at once) on a
// synthetic dancer. The playing list empties, allocations stay flat and no value goes NaN.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/figure.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/synthetic_dances.h"

namespace vorel {
namespace {

constexpr int SoakBones = 4;
constexpr int Frames = 100000;
// After this frame nothing new starts, leaving time for every record to run out.
constexpr int LastStart = Frames - 1000;

bool allFinite(const std::vector<Vector3>& values) {
    for (const Vector3& v : values) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) return false;
    }
    return true;
}

void start(Figure& figure, const char* name, int frame) {
    ActiveAnimation record(name, static_cast<float>(frame) * 0.01f);
    ASSERT_NE(nullptr, (figure.startAnimation(record), record.clip));
}

TEST(FigureSoak, HundredThousandFramesOfOverlappingDances) {
    AssetLibrary library;
    library.addModel(test_support::makeSyntheticDancer(SoakBones), "dancer");
    library.addAnimation(test_support::makeSyntheticDance(SoakBones, 0.37f, 1), "Quick");
    library.addAnimation(test_support::makeSyntheticDance(SoakBones, 2.5f, 2), "Long");
    library.addAnimation(test_support::makeSyntheticDance(SoakBones, 1.0f, 3), "Middle");
    Figure figure(&library);
    // A first burst larger than the schedule ever overlaps warms the list's spare records.
    for (int i = 0; i < 12; ++i) start(figure, "Long", 0);
    figure.update(0.01f);
    while (!figure.playing.empty()) figure.stopAnimation(figure.playing.front().id);
    const std::size_t warmAllocations = test_support::allocationCount();

    std::size_t mostPlaying = 0;
    for (int frame = 1; frame < Frames; ++frame) {
        if (frame <= LastStart) {
            if (frame % 50 == 0) start(figure, "Quick", frame);
            if (frame % 120 == 0) {
                start(figure, "Long", frame);
                start(figure, "Long", frame);
            }
            if (frame % 333 == 0) start(figure, "Middle", frame);
            if (frame % 997 == 0) figure.stopAnimation(figure.playing.back().id);
        }
        figure.update(0.01f);
        mostPlaying = std::max(mostPlaying, figure.playing.size());
        const ModelInstance& instance = *figure.instances[0];
        ASSERT_TRUE(allFinite(instance.positions) && allFinite(instance.normals)) << frame;
    }
    EXPECT_TRUE(figure.playing.empty());
    EXPECT_GE(mostPlaying, 5u);
    EXPECT_EQ(warmAllocations, test_support::allocationCount());
    EXPECT_EQ(library.models[0]->positions, figure.instances[0]->positions);
}

}  // namespace
}  // namespace vorel
