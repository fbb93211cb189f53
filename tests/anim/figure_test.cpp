// Figure: starting and stopping records, expiry, the per-bone blend of every playing track and
// which instance is posed.
#include "anim/figure.h"

#include <gtest/gtest.h>

#include "math/hash_name.h"
#include "tests/support/near.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {

using namespace test_support;
namespace {

using test_support::makeAnimation;
using test_support::makeAxisBone;
using test_support::makeFace;
using test_support::makeKey;
using test_support::makeModel;
using test_support::makePoseTrack;
using test_support::rotationAbout;

// Bones "hip" (moves position 0 at (1, 0, 0)) and its sibling "head" (moves position 1 at
// (0, 1, 0)), both with identity rest frames.
std::unique_ptr<ModelData> makeDancerModel() {
    auto hip = makeAxisBone("hip", {0});
    hip->nextSibling = makeAxisBone("head", {1});
    return makeModel({Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f)},
                     {Vector3(1.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f)},
                     {makeFace({0, 1, 1, 0}, {0, 1, 1, 0})}, std::move(hip));
}

TrackData hipPose(const Vector3& translation, const Vector3& scale = Vector3(1.0f, 1.0f, 1.0f),
                  const Quaternion& rotation = Quaternion::Identity) {
    return makePoseTrack("hip", translation, scale, rotation);
}

TrackData hipTurn(const Vector3& axis, float degrees) {
    return hipPose(Vector3(), Vector3(1.0f, 1.0f, 1.0f), rotationAbout(axis, degrees));
}

class FigureTest : public ::testing::Test {
  protected:
    FigureTest() { library.addModel(makeDancerModel(), "dancer"); }

    void addDance(const std::string& name, float duration, std::vector<TrackData> tracks) {
        library.addAnimation(makeAnimation(duration, std::move(tracks)), name);
    }

    Figure& figure() {
        if (!built) built = std::make_unique<Figure>(&library);
        return *built;
    }

    std::int32_t start(const std::string& name, float startTime = 0.0f) {
        ActiveAnimation record(name, startTime);
        return figure().startAnimation(record);
    }

    const std::vector<Vector3>& positions() { return figure().instances[0]->positions; }
    const ModelData& model() { return *library.models[0]; }

    AssetLibrary library;
    std::unique_ptr<Figure> built;
};

TEST_F(FigureTest, BuildsOneInstancePerModelAndOneClipPerAnimation) {
    library.addModel(makeDancerModel(), "second");
    addDance("Cancan", 1.0f, {});
    addDance("Strut", 1.0f, {});
    Figure& made = figure();
    ASSERT_EQ(2u, made.instances.size());
    EXPECT_EQ(library.models[1].get(), made.instances[1]->model);
    ASSERT_EQ(2u, made.clips.size());
    EXPECT_EQ(library.animations[1].get(), made.clips[1]->data);
    EXPECT_EQ(0, made.currentModel);
    EXPECT_TRUE(made.playing.empty());
}

TEST_F(FigureTest, StartFillsTheRecordAndAppendsACopy) {
    addDance("Cancan", 1.0f, {});
    addDance("Joyous Walk", 1.0f, {});
    ActiveAnimation record("Joyous Walk", 3.7f);
    EXPECT_EQ(-1542845693, figure().startAnimation(record));
    EXPECT_EQ(hashName("Joyous Walk"), record.hash);
    EXPECT_EQ(-1542845693, record.id);
    EXPECT_EQ(figure().clips[1].get(), record.clip);
    ASSERT_EQ(1u, figure().playing.size());
    EXPECT_EQ("Joyous Walk", figure().playing.back().name);
    EXPECT_EQ(3.7f, figure().playing.back().startTime);
    EXPECT_EQ(0.0f, figure().playing.back().localTime);
}

TEST_F(FigureTest, IdIsTheRoundedHashPlusTheStartTime) {
    addDance("Joyous Walk", 1.0f, {});
    addDance("abc", 1.0f, {});
    EXPECT_EQ(-1542845696, start("Joyous Walk", 0.0f));
    EXPECT_EQ(395492, start("abc", 1.25f));
    EXPECT_EQ(395488, start("abc", -2.5f));
}

TEST_F(FigureTest, UnknownNameStartsNothing) {
    addDance("Cancan", 1.0f, {});
    ActiveAnimation record("cancan", 0.0f);
    EXPECT_EQ(0, figure().startAnimation(record));
    EXPECT_EQ(0u, record.hash);
    EXPECT_EQ(nullptr, record.clip);
    EXPECT_EQ(0, start("Salute"));
    EXPECT_TRUE(figure().playing.empty());
}

TEST_F(FigureTest, StopRemovesOnlyTheOlderRecordWithTheId) {
    addDance("Cancan", 5.0f, {});
    const std::int32_t first = start("Cancan", 1.25f);
    const std::int32_t second = start("Cancan", 1.5f);
    ASSERT_EQ(first, second);
    figure().stopAnimation(first);
    ASSERT_EQ(1u, figure().playing.size());
    EXPECT_EQ(1.5f, figure().playing.front().startTime);
    figure().stopAnimation(12345);
    EXPECT_EQ(1u, figure().playing.size());
}

TEST_F(FigureTest, NothingPlayingGivesTheRestPose) {
    addDance("Cancan", 0.0f, {hipPose(Vector3(5.0f, 0.0f, 0.0f))});
    figure().update(0.01f);
    EXPECT_EQ(model().positions, positions());
    start("Cancan");
    figure().update(0.01f);
    EXPECT_NE(model().positions, positions());
    figure().update(0.01f);
    EXPECT_TRUE(figure().playing.empty());
    EXPECT_EQ(model().positions, positions());
    EXPECT_EQ(model().normals, figure().instances[0]->normals);
}

TEST_F(FigureTest, TracksMoveOnlyTheBoneWithTheirNameHash) {
    addDance("Cancan", 1.0f, {hipPose(Vector3(0.0f, 0.0f, 2.0f))});
    start("Cancan");
    figure().update(0.01f);
    EXPECT_EQ(Vector3(1.0f, 0.0f, 2.0f), positions()[0]);
    EXPECT_EQ(Vector3(0.0f, 1.0f, 0.0f), positions()[1]);
}

TEST_F(FigureTest, TwoRecordsAddTranslationsMultiplyScalesAndTurnTwice) {
    addDance("Cancan", 1.0f,
             {hipPose(Vector3(1.0f, 2.0f, 3.0f), Vector3(2.0f, 1.0f, 1.0f),
                      rotationAbout(Vector3::ZAxis, 45.0f))});
    start("Cancan");
    start("Cancan");
    figure().update(0.01f);
    // (1, 0, 0) scaled by 2 * 2, turned by 45 + 45 degrees, moved by twice (1, 2, 3).
    expectNear(positions()[0], Vector3(2.0f, 8.0f, 6.0f), 1e-5f);
}

TEST_F(FigureTest, SeveralTracksOfOneClipForOneBoneAllContribute) {
    addDance("Cancan", 1.0f,
             {hipPose(Vector3(1.0f, 0.0f, 0.0f)), hipPose(Vector3(0.0f, 0.0f, 4.0f))});
    start("Cancan");
    figure().update(0.01f);
    EXPECT_EQ(Vector3(2.0f, 0.0f, 4.0f), positions()[0]);
}

TEST_F(FigureTest, OlderRecordsRotationActsFirst) {
    // (0, 1, 0): a quarter about X then about Z ends on +Z; about Z then X ends on -X.
    addDance("Tilt", 1.0f, {hipTurn(Vector3::XAxis, 90.0f)});
    addDance("Spin", 1.0f, {hipTurn(Vector3::ZAxis, 90.0f)});
    library.models[0]->positions[0] = Vector3(0.0f, 1.0f, 0.0f);
    start("Tilt");
    start("Spin");
    figure().update(0.01f);
    expectNear(positions()[0], Vector3(0.0f, 0.0f, 1.0f));

    figure().stopAnimation(figure().playing.front().id);
    start("Tilt");
    figure().update(0.01f);
    expectNear(positions()[0], Vector3(-1.0f, 0.0f, 0.0f));
}

TEST_F(FigureTest, RecordsAreSampledFromLocalTimeZeroAndAdvanceByTheStep) {
    TrackData slide = hipPose(Vector3());
    slide.channels[2] = {makeKey(0.0f, 0.0f), makeKey(1.0f, 100.0f)};
    addDance("Slide", 1.0f, {slide});
    start("Slide");
    figure().update(0.25f);
    EXPECT_EQ(0.0f, positions()[0].z);
    EXPECT_EQ(0.25f, figure().playing.front().localTime);
    figure().update(0.25f);
    EXPECT_EQ(25.0f, positions()[0].z);
}

TEST_F(FigureTest, RecordStaysWhileItsTimeEqualsTheDuration) {
    float threeSteps = 0.0f;
    for (int i = 0; i < 3; ++i) threeSteps += 0.01f;
    addDance("Cancan", threeSteps, {hipPose(Vector3(0.0f, 0.0f, 1.0f))});
    start("Cancan");
    for (int frame = 0; frame < 4; ++frame) {
        figure().update(0.01f);
        EXPECT_EQ(1.0f, positions()[0].z) << frame;
    }
    figure().update(0.01f);
    EXPECT_TRUE(figure().playing.empty());
    EXPECT_EQ(0.0f, positions()[0].z);
}

TEST_F(FigureTest, ZeroDurationIsSampledOnceAndNegativeNever) {
    addDance("Blink", 0.0f, {hipPose(Vector3(0.0f, 0.0f, 1.0f))});
    addDance("Never", -1.0f, {hipPose(Vector3(0.0f, 0.0f, 1.0f))});
    start("Never");
    start("Blink");
    figure().update(0.01f);
    EXPECT_EQ(1u, figure().playing.size());
    EXPECT_EQ(1.0f, positions()[0].z);
    figure().update(0.01f);
    EXPECT_TRUE(figure().playing.empty());
    EXPECT_EQ(0.0f, positions()[0].z);
}

TEST_F(FigureTest, OnlyTheFirstInstanceIsPosed) {
    library.addModel(makeDancerModel(), "second");
    addDance("Cancan", 1.0f, {hipPose(Vector3(0.0f, 0.0f, 1.0f))});
    start("Cancan");
    figure().update(0.01f);
    EXPECT_EQ(Vector3(1.0f, 0.0f, 1.0f), figure().instances[0]->positions[0]);
    EXPECT_EQ(library.models[1]->positions, figure().instances[1]->positions);
}

}  // namespace
}  // namespace vorel
