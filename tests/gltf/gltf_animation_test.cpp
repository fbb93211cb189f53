// importAnimations through importGltfBytes: lengths and STEP jumps, and the limits that keep a
// hostile animation's samples in proportion to the file.
#include "gltf/gltf_animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel::test_support {
namespace {

const TrackData* trackNamed(const AnimationData& animation, const std::string& name) {
    for (const TrackData& track : animation.tracks) {
        if (track.name == name) return &track;
    }
    return nullptr;
}

TEST(ImportAnimation, StepChannelsJumpAtTheirKeyAndLengthsAreTheLastKeyTime) {
    ArmCharacter arm = makeArmCharacter();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    ASSERT_EQ(result.animations.size(), 2u);
    EXPECT_FLOAT_EQ(result.animations[0].data->header->duration, 1.0f);
    EXPECT_FLOAT_EQ(result.animations[1].data->header->duration, 0.25f);
    // Lower turns 60 degrees about its y at 0.5 s in one step: its rotation's y component
    // holds 0 up to the float just before 0.5 and sin(30 degrees) from 0.5 on.
    const TrackData* lower = trackNamed(*result.animations[0].data, "Lower");
    ASSERT_NE(lower, nullptr);
    bool jumped = false;
    for (int c = 6; c < 10; ++c) {
        const std::vector<Keyframe>& keys = lower->channels[static_cast<std::size_t>(c)];
        for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
            if (keys[k + 1].time != 0.5f) continue;
            EXPECT_EQ(keys[k].time, std::nextafter(0.5f, 0.0f)) << c;
            jumped = jumped || std::fabs(keys[k + 1].value - keys[k].value) > 0.1f;
        }
    }
    EXPECT_TRUE(jumped);
}

TEST(ImportAnimation, ACurveNoKeysCanFollowStopsAtTheKeyLimitWithAWarning) {
    ArmCharacter arm = makeArmCharacter();
    // 2000 CUBICSPLINE keys 1 ms apart whose tangents swing by a million units a second.
    const int animation = arm.builder.addAnimation("Shiver");
    std::vector<float> times, values;
    for (int k = 0; k < 2000; ++k) {
        times.push_back(0.001f * static_cast<float>(k));
        const float swing = k % 2 == 0 ? 1e6f : -1e6f;
        values.insert(values.end(), {swing, 0, 0, 0, 0, 2, swing, 0, 0});
    }
    arm.builder.addChannel(animation, arm.hips, "translation", times, values, "CUBICSPLINE");
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    const ImportedAnimation& shiver = result.animations.back();
    // Sixteen node steps per key value of the file (2000 x 9); a sample takes 13 (the arm's
    // 8 nodes, then the chains of Hips (2), Upper (1) and Lower (2)).
    EXPECT_LE(shiver.keyTimes, 16u * 2000 * 9 / 13);
    EXPECT_GT(shiver.keyTimes, 2000u);
    bool warned = false;
    for (const std::string& warning : result.warnings)
        warned = warned || warning.find("'Shiver': the key limit") != std::string::npos;
    EXPECT_TRUE(warned);
}

TEST(ImportAnimation, ALongChannelOverManyJointsIsRefusedBeforeItsSamplesAreHeld) {
    GltfBuilder builder;
    std::vector<int> joints;
    for (int j = 0; j < 300; ++j) {
        joints.push_back(builder.addNode("j" + std::to_string(j), j == 0 ? -1 : joints.back()));
    }
    addTriangleSkinnedAtOrigin(builder, joints, {0, 0, 0});
    // 4000 keys of 3 values: a budget of 2^18 node steps, 436 samples of 601 steps (301
    // nodes, 300 one-node chains).
    const int animation = builder.addAnimation("Long");
    std::vector<float> times, values;
    for (int k = 0; k < 4000; ++k) {
        times.push_back(0.01f * static_cast<float>(k));
        values.insert(values.end(), {0.001f * static_cast<float>(k), 0, 0});
    }
    builder.addChannel(animation, joints[0], "translation", times, values);
    ImportedSet result;
    LoadError error;
    EXPECT_FALSE(importWithoutFit(builder.glb(), result, error));
    EXPECT_NE(error.describe().find("/animations/0: 4000 key times over 300 joints"),
              std::string::npos)
        << error.describe();
}

}  // namespace
}  // namespace vorel::test_support
