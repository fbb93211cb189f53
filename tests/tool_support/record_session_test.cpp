// Recording a set's animations for an export: each animation file once, under the last name
// the manifest gives it, played alone on the figure handed in, frame by frame until it ends,
// keyed at its local times times the speed.
#include "tools/common/record_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/record_motion.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "tests/support/box_figure.h"
#include "tests/support/box_set_folder.h"
#include "tools/common/library_beside_manifest.h"

namespace vorel {

using namespace test_support;
namespace {

class RecordSetAnimations : public ::testing::Test {
  protected:
    // The box set with its slide listed as NAMES (in order) and a second, longer slide last.
    void writeManifest(const std::vector<std::string>& slideNames) {
        ASSERT_TRUE(folder.made());
        ASSERT_TRUE(saveAnimation(*makeSlideAnimation(1.0f), folder.path("long.anim")));
        std::vector<ManifestEntry> animations;
        for (const std::string& name : slideNames) animations.push_back({name, "slide.anim"});
        animations.push_back({"Long", "long.anim"});
        ASSERT_TRUE(saveManifest(folder.path("vorel.txt"), {{"box", "box.ply"}}, animations));
        std::string problem;
        library = loadLibraryBesideManifest(folder.path("vorel.txt"), problem);
        ASSERT_NE(library, nullptr) << problem;
        ASSERT_TRUE(manifestFiles(folder.path("vorel.txt"), files, problem)) << problem;
    }

    BoxSetFolder folder;
    std::unique_ptr<AssetLibrary> library;
    ManifestFiles files;
};

TEST_F(RecordSetAnimations, RecordsEachFileOnceUnderItsLastNameUntilItEnds) {
    writeManifest({"Cancan", "Slide"});
    Figure recorder(library.get());
    const std::vector<const BoneData*> bones = bonesInWalkOrder(*library->models.front());
    std::vector<RecordedMotion> motions;
    std::string problem;
    ASSERT_TRUE(recordSetAnimations(recorder, files, 2.0, bones, motions, problem)) << problem;

    ASSERT_EQ(motions.size(), 2u);
    EXPECT_EQ(motions[0].name, "Slide");
    EXPECT_EQ(motions[1].name, "Long");
    // 0.5 and 1.0 clock units at 0.01 a frame, the last key at the duration or just past it.
    EXPECT_NEAR(motions[0].keyTimes.size(), 51u, 1u);
    EXPECT_NEAR(motions[1].keyTimes.size(), 101u, 1u);
    EXPECT_FLOAT_EQ(motions[0].keyTimes[1], 0.02f) << "key times are local times times the speed";
    EXPECT_EQ(motions[1].transforms.size(), motions[1].keyTimes.size() * bones.size());
    EXPECT_GT(motions[1].transforms.back().translation.x,
              motions[1].transforms.front().translation.x)
        << "the box slides";
}

}  // namespace
}  // namespace vorel
