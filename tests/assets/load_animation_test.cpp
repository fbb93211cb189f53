// loadAnimation and computeTangents: the magic and byte order, 9- and 25-byte keys, empty
// animations and channels, the worked tangent example and both stop cases.
#include "assets/load_animation.h"

#include <gtest/gtest.h>

#include "assets/save_animation.h"
#include "math/hash_name.h"
#include "tests/support/byte_fixture.h"
#include "tests/support/sample_assets.h"

namespace vorel {

using namespace test_support;
namespace {

// One track "hip": channel 0 holds a 9-byte key then a 25-byte key, channel 1 a single 25-byte
// key; the other eight channels are empty. Three bytes after the last track are never read.
const std::string HandAnimation = fromHex(
    "79 56 34 12  00 00 20 40  01 00"                    // magic, duration 2.5, one track
    "68 69 70 00" +                                      // "hip"
    std::string(96, '0') +                               // the four unused vectors
    "02 00"                                              // channel 0: two keys
    "00 00 00 00  00 00 80 3F  01"                       // t 0, v 1, no tangents
    "00 00 80 3F  00 00 40 40  04"                       // t 1, v 3, cubic, tangents follow
    "00 00 80 3F 00 00 00 40 00 00 40 40 00 00 80 40"    // out (1, 2), in (3, 4)
    "01 00"                                              // channel 1: one key
    "00 00 00 00  00 00 A0 40  00"                       // t 0, v 5, tangents follow
    "00 00 80 3F 00 00 00 40 00 00 40 40 00 00 80 40" +  // out (1, 2), in (3, 4)
    std::string(32, '0') +                               // channels 2 to 9: no keys
    "FF FF FF");

std::unique_ptr<AnimationData> loadBytes(const std::string& bytes, LoadError* error = nullptr) {
    return loadAnimationFromBytes(bytes, "test.anim", error);
}

Keyframe key(float time, float value, Tangent tangent = Tangent{}) {
    Keyframe made;
    made.time = time;
    made.value = value;
    made.outTangent = tangent;
    made.inTangent = tangent;
    return made;
}

void expectTangent(Tangent expected, Tangent actual, const char* which) {
    EXPECT_EQ(expected.time, actual.time) << which;
    EXPECT_EQ(expected.value, actual.value) << which;
}

TEST(LoadAnimationMagic, HandAssembledFileLoads) {
    LoadError error;
    auto animation = loadBytes(HandAnimation, &error);
    ASSERT_NE(animation, nullptr) << error.describe();
    EXPECT_EQ(0x12345679u, animation->header->magic);
    EXPECT_EQ(2.5f, animation->header->duration);
    EXPECT_EQ(1, animation->header->trackCount);
    ASSERT_EQ(1u, animation->tracks.size());
    EXPECT_EQ("hip", animation->tracks[0].name);
    EXPECT_EQ(hashName("hip"), animation->tracks[0].nameHash);
}

TEST(LoadAnimationMagic, OtherByteOrderAndNeighbouringValueFail) {
    for (const char* magic : {"12 34 56 79", "78 56 34 12", "79 56 34 13"}) {
        LoadError error;
        EXPECT_EQ(loadBytes(fromHex(magic) + HandAnimation.substr(4), &error), nullptr) << magic;
        EXPECT_EQ(0, error.offset);
        EXPECT_EQ("header", error.section);
    }
    LoadError error;
    loadBytes(fromHex("12 34 56 79") + HandAnimation.substr(4), &error);
    EXPECT_NE(std::string::npos, error.message.find("other byte order"));
}

TEST(LoadAnimationMagic, NoTracksIsAValidAnimation) {
    auto animation = loadBytes(fromHex("79 56 34 12  00 00 C0 3F  00 00"));
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(1.5f, animation->header->duration);
    EXPECT_TRUE(animation->tracks.empty());
}

TEST(LoadAnimationMagic, MissingFileAndLyingCountsFail) {
    LoadError error;
    EXPECT_EQ(loadAnimation("/nonexistent/clip.anim", &error), nullptr);
    EXPECT_NE(std::string::npos, error.message.find("cannot be opened"));
    EXPECT_EQ(loadBytes(fromHex("79 56 34 12  00 00 C0 3F  FF FF  00"), &error), nullptr);
    EXPECT_EQ(8, error.offset);
    std::string lyingKeys = HandAnimation;
    lyingKeys[63] = '\xFF';  // channel 0, at offset 62, claims 0xFF02 keys
    EXPECT_EQ(loadBytes(lyingKeys, &error), nullptr);
    EXPECT_EQ(62, error.offset);
}

TEST(LoadAnimationKeys, NineAndTwentyFiveByteKeys) {
    auto animation = loadBytes(HandAnimation);
    ASSERT_NE(animation, nullptr);
    const TrackData& track = animation->tracks[0];
    ASSERT_EQ(2u, track.channels[0].size());
    EXPECT_EQ(0x01, track.channels[0][0].flags);
    EXPECT_EQ(1.0f, track.channels[0][0].value);
    EXPECT_EQ(1.0f, track.channels[0][1].time);
    EXPECT_EQ(3.0f, track.channels[0][1].value);
    EXPECT_EQ(0x04, track.channels[0][1].flags);
    ASSERT_EQ(1u, track.channels[1].size());
    EXPECT_EQ(5.0f, track.channels[1][0].value);
    for (int c = 2; c < ChannelCount; ++c) EXPECT_TRUE(track.channels[c].empty()) << c;
}

TEST(LoadAnimationKeys, SingleKeyTakesItsFileOutTangentAsInTangent) {
    auto animation = loadBytes(HandAnimation);
    ASSERT_NE(animation, nullptr);
    const Keyframe& single = animation->tracks[0].channels[1][0];
    expectTangent({1.0f, 2.0f}, single.outTangent, "out");
    expectTangent({1.0f, 2.0f}, single.inTangent, "in");
}

TEST(LoadAnimationKeys, LoaderReplacesFileTangents) {
    auto animation = loadBytes(HandAnimation);
    ASSERT_NE(animation, nullptr);
    const std::vector<Keyframe>& keys = animation->tracks[0].channels[0];
    expectTangent({-0.5f, -1.0f}, keys[0].outTangent, "first out");
    expectTangent({-0.5f, -1.0f}, keys[1].inTangent, "last in");
    expectTangent({-0.5f, -1.0f}, keys[1].outTangent, "last out");
}

TEST(LoadAnimationKeys, StopInOneChannelLeavesTheNextAlone) {
    auto sample = makeSampleAnimation();
    TrackData& track = sample->tracks[0];
    track.channels[3] = {key(0, 0), key(1, 1), key(1, 2), key(1, 3), key(2, 4)};
    track.channels[4] = {key(0, 0), key(1, 1), key(2, 2), key(3, 3)};
    for (Keyframe& k : track.channels[3]) k.flags = 0x01;
    for (Keyframe& k : track.channels[4]) k.flags = 0x01;
    auto animation = loadBytes(encodeAnimation(*sample));
    ASSERT_NE(animation, nullptr);
    const std::vector<Keyframe>& stopped = animation->tracks[0].channels[3];
    expectTangent({0.0f, 0.0f}, stopped[3].outTangent, "kept at zero");
    const std::vector<Keyframe>& next = animation->tracks[0].channels[4];
    expectTangent({-1.0f, -1.0f}, next[2].outTangent, "interior out");
    expectTangent({-0.5f, -0.5f}, next[3].inTangent, "last in");
}

TEST(ComputeTangents, WorkedExample) {
    std::vector<Keyframe> keys = {key(0, 0), key(1, 2), key(3, 2)};
    computeTangents(keys);
    expectTangent({-0.5f, -1.0f}, keys[0].outTangent, "K0 out");
    expectTangent({-0.5f, -1.0f}, keys[0].inTangent, "K0 in");
    expectTangent({-2.0f, -4.0f / 3.0f}, keys[1].outTangent, "K1 out");
    expectTangent({-1.0f, -2.0f / 3.0f}, keys[1].inTangent, "K1 in");
    expectTangent({-1.0f, 0.0f}, keys[2].inTangent, "K2 in");
    expectTangent({-1.0f, 0.0f}, keys[2].outTangent, "K2 out");
}

TEST(ComputeTangents, NoKeysAndOneKey) {
    std::vector<Keyframe> none;
    computeTangents(none);
    EXPECT_TRUE(none.empty());
    std::vector<Keyframe> one = {key(4, 5)};
    one[0].outTangent = Tangent{7, 8};
    one[0].inTangent = Tangent{-1, -1};
    computeTangents(one);
    expectTangent({7, 8}, one[0].inTangent, "in");
    expectTangent({7, 8}, one[0].outTangent, "out");
}

TEST(ComputeTangents, RepeatedTimeBetweenDistinctNeighboursDoesNotStop) {
    const Tangent poison{7, 8};
    std::vector<Keyframe> keys = {key(0, 0, poison), key(1, 1, poison), key(1, 2, poison),
                                  key(2, 3, poison)};
    computeTangents(keys);
    expectTangent({-1.0f, -2.0f}, keys[1].inTangent, "K1 in");
    expectTangent({-1.0f, -2.0f}, keys[2].outTangent, "K2 out");
    expectTangent({-0.5f, -0.5f}, keys[3].inTangent, "K3 in");
    expectTangent({-0.5f, -0.5f}, keys[3].outTangent, "K3 out");
}

TEST(ComputeTangents, NeighboursSharingATimeStopTheComputation) {
    const Tangent poison{7, 8};
    std::vector<Keyframe> keys = {key(0, 0, poison), key(1, 1, poison), key(1, 2, poison),
                                  key(1, 3, poison), key(2, 4, poison)};
    computeTangents(keys);
    expectTangent({-0.5f, -0.5f}, keys[0].outTangent, "K0 out");
    expectTangent({-1.0f, -2.0f}, keys[1].inTangent, "K1 in");
    expectTangent({0.0f, 0.0f}, keys[2].outTangent, "K2 out");
    expectTangent({0.0f, 0.0f}, keys[2].inTangent, "K2 in");
    for (int i = 3; i < 5; ++i) {
        expectTangent(poison, keys[i].outTangent, "kept out");
        expectTangent(poison, keys[i].inTangent, "kept in");
    }
}

TEST(LoadAnimationKeys, KeysAfterAStopKeepWhatTheFileSaid) {
    // The sample's channel 6 holds times 0, 1, 1, 1, 2: its last two keys carry tangents.
    auto animation = loadBytes(encodeAnimation(*makeSampleAnimation()));
    ASSERT_NE(animation, nullptr);
    const std::vector<Keyframe>& keys = animation->tracks[0].channels[6];
    ASSERT_EQ(5u, keys.size());
    expectTangent({0.0f, 0.0f}, keys[2].outTangent, "stop key");
    expectTangent({0.25f, -0.5f}, keys[3].outTangent, "kept out");
    expectTangent({-0.25f, 0.5f}, keys[4].inTangent, "kept in");
}

}  // namespace
}  // namespace vorel
