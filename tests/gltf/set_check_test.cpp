// checkSetValues and checkAnimationValues: what an import made is refused before writing,
// naming the input, when a value is not finite or a channel holds more keys than a file can.
#include "convert/set_check.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel::test_support {
namespace {

ImportedSet importedArm() {
    ImportedSet imported;
    LoadError error;
    EXPECT_TRUE(importWithoutFit(makeArmCharacter().builder.glb(), imported, error))
        << error.describe();
    return imported;
}

TEST(SetCheck, AnImportedSetIsSoundAndANonFiniteValueNamesTheInput) {
    ImportedSet arm = importedArm();
    LoadError error;
    EXPECT_TRUE(checkSetValues(setForImport(arm), "arm.glb", error)) << error.describe();

    arm.model->normals[3].z = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(checkSetValues(setForImport(arm), "arm.glb", error));
    EXPECT_EQ(error.describe(),
              "arm.glb: model 'test': normal 3 is not finite (too large for a float)");
}

TEST(SetCheck, MoreKeysInAChannelThanAFileHoldsIsRefusedBeforeWriting) {
    ImportedSet arm = importedArm();
    ASSERT_FALSE(arm.animations.empty());
    AnimationData& animation = *arm.animations[0].data;
    ASSERT_FALSE(animation.tracks.empty());
    std::vector<Keyframe>& keys = animation.tracks[0].channels[0];
    keys.resize(MaxTracksOrKeys + 1);
    for (std::size_t k = 0; k < keys.size(); ++k) keys[k].time = static_cast<float>(k);
    LoadError error;
    EXPECT_FALSE(checkAnimationValues(animation, "Wave", "arm.glb", error));
    EXPECT_EQ(error.describe(), "arm.glb: animation 'Wave': track '" + animation.tracks[0].name +
                                    "' channel 0 needs 65536 keys, more than the 65535 an "
                                    "animation file holds");
    keys.resize(MaxTracksOrKeys);
    EXPECT_TRUE(checkAnimationValues(animation, "Wave", "arm.glb", error)) << error.describe();
}

}  // namespace
}  // namespace vorel::test_support
