// importBvhText: which keys a capture's animation keeps, the figure's bones and parts, and the
// captures it refuses. The posed result is checked against the capture in tests/import.
#include "bvh/import_bvh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vorel {
namespace {

// A root that slides along x at one unit per frame for `frames` frames, with a child that
// never moves and a grandchild that turns back and forth.
std::string slidingCapture(int frames) {
    std::string text =
        "HIERARCHY\nROOT Root\n{\n OFFSET 0 0 0\n CHANNELS 3 Xposition Yposition Zposition\n"
        " JOINT Still\n {\n  OFFSET 0 5 0\n  CHANNELS 1 Zrotation\n  JOINT Swing\n  {\n"
        "   OFFSET 0 5 0\n   CHANNELS 1 Xrotation\n   End Site\n   {\n    OFFSET 0 5 0\n   }\n"
        "  }\n }\n}\nMOTION\nFrames: " +
        std::to_string(frames) + "\nFrame Time: 0.01\n";
    for (int f = 0; f < frames; ++f) {
        text += std::to_string(f) + " 0 0 0 " + std::to_string(30.0 * std::sin(0.05 * f)) + "\n";
    }
    return text;
}

bool importText(const std::string& text, ImportedSet& result, LoadError& error,
                ImportOptions options = {}) {
    BvhImportSummary summary;
    return importBvhText(text, "capture.bvh", options, result, summary, error);
}

const TrackData* findTrack(const AnimationData& animation, const std::string& name) {
    for (const TrackData& track : animation.tracks) {
        if (track.name == name) return &track;
    }
    return nullptr;
}

TEST(ImportBvhKeys, KeysAreKeptOnlyWhereInterpolationWouldMissTheFrames) {
    ImportedSet result;
    LoadError error;
    ImportOptions unfitted;
    unfitted.fitToView = false;
    ASSERT_TRUE(importText(slidingCapture(400), result, error, unfitted)) << error.describe();
    ASSERT_EQ(1u, result.animations.size());
    const AnimationData& animation = *result.animations[0].data;
    EXPECT_NEAR(399 * 0.01, animation.header->duration, 1e-6);
    // The joint that never turns has no track; the root slides, the swing turns.
    EXPECT_EQ(nullptr, findTrack(animation, "Still"));
    const TrackData* root = findTrack(animation, "Root");
    const TrackData* swing = findTrack(animation, "Swing");
    ASSERT_NE(nullptr, root);
    ASSERT_NE(nullptr, swing);
    // A straight slide needs only the keys that bound each segment (16 frames at most), on
    // the one translation channel of the bone's frame that the slide runs along.
    std::size_t along = 0;
    for (std::size_t c = 1; c < 3; ++c) {
        if (std::fabs(root->channels[c].back().value) >
            std::fabs(root->channels[along].back().value)) {
            along = c;
        }
    }
    const std::vector<Keyframe>& slide = root->channels[along];
    EXPECT_LE(slide.size(), 400u / 16 + 2);
    EXPECT_EQ(0.0f, slide.front().value);
    EXPECT_NEAR(399.0f, std::fabs(slide.back().value), 1e-3f);
    for (const Keyframe& key : slide) EXPECT_NEAR(key.time * 100.0f, std::fabs(key.value), 1e-3f);
    for (std::size_t c = 0; c < 3; ++c) {
        if (c != along) {
            EXPECT_EQ(1u, root->channels[c].size()) << c;
        }
    }
    // No rotation on the root: each rotation channel is one held key.
    for (int c = 6; c < 10; ++c) EXPECT_EQ(1u, root->channels[static_cast<std::size_t>(c)].size());
    // The swing turns about its head, so its translation is held; its turn needs keys, fewer
    // than the frames (w changes whatever the bone frame's axis of the turn).
    for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(1u, swing->channels[c].size()) << c;
    const std::vector<Keyframe>& turn = swing->channels[9];
    EXPECT_GT(turn.size(), 20u);
    EXPECT_LT(turn.size(), 400u);
    EXPECT_EQ(keyFlags(SegmentMode::Linear, false), turn.front().flags);
    EXPECT_EQ(keyFlags(SegmentMode::Constant, false), turn.back().flags);
}

TEST(ImportBvhKeys, SpeedDividesEveryKeyTime) {
    ImportedSet slow;
    ImportedSet fast;
    LoadError error;
    ImportOptions twice;
    twice.speed = 2.0;
    ASSERT_TRUE(importText(slidingCapture(50), slow, error)) << error.describe();
    ASSERT_TRUE(importText(slidingCapture(50), fast, error, twice)) << error.describe();
    const std::vector<Keyframe>& slowKeys =
        findTrack(*slow.animations[0].data, "Swing")->channels[9];
    const std::vector<Keyframe>& fastKeys =
        findTrack(*fast.animations[0].data, "Swing")->channels[9];
    ASSERT_GT(slowKeys.size(), 2u);
    ASSERT_EQ(slowKeys.size(), fastKeys.size());
    for (std::size_t k = 0; k < slowKeys.size(); ++k) {
        EXPECT_FLOAT_EQ(0.5f * slowKeys[k].time, fastKeys[k].time);
    }
}

TEST(ImportBvhFigure, BonesFollowTheJointsAndPartsTheirLengths) {
    ImportedSet result;
    LoadError error;
    ImportOptions unfitted;
    unfitted.fitToView = false;
    ASSERT_TRUE(importText(slidingCapture(3), result, error, unfitted)) << error.describe();
    const ModelData& model = *result.model;
    EXPECT_EQ(3u, result.boneCount);
    const BoneData& root = *model.rootBone;
    const BoneData& still = *root.firstChild;
    const BoneData& swing = *still.firstChild;
    EXPECT_EQ("Root", root.name);
    EXPECT_EQ("Swing", swing.name);
    // Bound where the first frame puts the root, each bone pointing at its child.
    EXPECT_EQ(Vector3(0.0f, 5.0f, 0.0f), still.head);
    EXPECT_EQ(Vector3(0.0f, 10.0f, 0.0f), still.tail);
    EXPECT_EQ(Vector3(0.0f, 15.0f, 0.0f), swing.tail);
    // Each bone carries the part to its child: within a few thicknesses of the segment.
    for (const BoneData* bone : {&root, &still, &swing}) {
        ASSERT_FALSE(bone->vertices.empty()) << bone->name;
        for (std::int32_t v : bone->vertices) {
            const Vector3& p = model.positions[static_cast<std::size_t>(v)];
            EXPECT_GE(p.y, bone->head.y - 1.0f) << bone->name;
            EXPECT_LE(p.y, bone->tail.y + 1.0f) << bone->name;
            EXPECT_LE(std::hypot(p.x, p.z), 1.0f) << bone->name;
        }
    }
}

TEST(ImportBvhRefusals, CapturesThatCannotBecomeASetFailWithAReason) {
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importText(slidingCapture(3).substr(0, 40), result, error));
    EXPECT_EQ(0u, error.describe().find("capture.bvh: line "));

    std::string noise =
        "HIERARCHY\nROOT Shaky\n{\n OFFSET 0 0 0\n CHANNELS 1 Xrotation\n End Site\n {\n"
        "  OFFSET 0 1 0\n }\n}\nMOTION\nFrames: 70000\nFrame Time: 0.01\n";
    for (int f = 0; f < 70000; ++f) noise += f % 2 == 0 ? "0\n" : "10\n";
    EXPECT_FALSE(importText(noise, result, error));
    EXPECT_EQ(
        "capture.bvh: joint 'Shaky' needs 70000 keys, more than the 65535 an animation "
        "file holds",
        error.describe());

    std::string tinyFrames = slidingCapture(3);
    tinyFrames.replace(tinyFrames.find("Frame Time: 0.01"), 16, "Frame Time: 1e-300");
    EXPECT_FALSE(importText(tinyFrames, result, error));
    EXPECT_NE(std::string::npos,
              error.message.find("frame 1 falls on the time of the frame before"))
        << error.describe();

    ImportOptions keys;
    keys.keys = {"Walk"};
    EXPECT_FALSE(importText(slidingCapture(3), result, error, keys));
    EXPECT_NE(std::string::npos, error.message.find("--keys")) << error.describe();
}

}  // namespace
}  // namespace vorel
