// The dances driven through the real Figure frame by frame, as the viewer plays them, alone and
// two at once: the skinned dancer stays in sight at every turn angle, never goes NaN, ends at
// rest, and a salute never puts the hand into the head.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "app/fixed_view.h"
#include "assets/dance_names.h"
#include "tests/dancer/default_set_fixture.h"

namespace vorel {
namespace {

constexpr float TimeStep = 0.01f;

bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

float distance(const Vector3& a, const Vector3& b) {
    const Vector3 d(a.x - b.x, a.y - b.y, a.z - b.z);
    return std::sqrt(Vector3::dot(d, d));
}

// Plays the named dances from the same frame until all have expired, checking every frame.
// Returns the number of frames played.
int playAndCheck(Figure& figure, const std::vector<std::string>& dances) {
    for (const std::string& name : dances) {
        ActiveAnimation record(name, 0.0f);
        figure.startAnimation(record);
        EXPECT_NE(record.clip, nullptr) << name;
    }
    int frames = 0;
    const ModelInstance& dancer = *figure.instances[0];
    while (!figure.playing.empty() && frames < 2000) {
        figure.update(TimeStep);
        ++frames;
        for (const Vector3& p : dancer.positions) {
            if (!isFinite(p) || !insideViewAtEveryTurn(p)) {
                ADD_FAILURE() << "frame " << frames << ": vertex (" << p.x << ", " << p.y << ", "
                              << p.z << ") is out of sight at some turn";
                return frames;
            }
        }
        for (const Vector3& n : dancer.normals) {
            if (!isFinite(n)) {
                ADD_FAILURE() << "frame " << frames << ": a normal is not a number";
                return frames;
            }
        }
    }
    return frames;
}

void expectBindPose(const Figure& figure) {
    const ModelInstance& dancer = *figure.instances[0];
    const ModelData& model = *dancer.model;
    float worst = 0.0f;
    for (std::size_t v = 0; v < model.positions.size(); ++v) {
        worst = std::fmax(worst, distance(dancer.positions[v], model.positions[v]));
    }
    for (std::size_t n = 0; n < model.normals.size(); ++n) {
        worst = std::fmax(worst, distance(dancer.normals[n], model.normals[n]));
    }
    EXPECT_LT(worst, 1e-3f);
}

class EachDance : public ::testing::TestWithParam<const char*> {};

TEST_P(EachDance, StaysInSightAtEveryFrameAndTurnThenReturnsToRest) {
    ASSERT_NE(defaultSet().library, nullptr);
    Figure figure(defaultSet().library.get());
    const int frames = playAndCheck(figure, {GetParam()});
    EXPECT_GE(frames, 300);
    EXPECT_LE(frames, 802);
    // The update after the last one that played already skinned the bind pose.
    figure.update(TimeStep);
    expectBindPose(figure);
}

std::string testName(std::string name) {
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name;
}

INSTANTIATE_TEST_SUITE_P(DefaultSet, EachDance, ::testing::ValuesIn(DanceNames),
                         [](const auto& parameter) { return testName(parameter.param); });

struct DancePair {
    const char* first;
    const char* second;
};

void PrintTo(const DancePair& pair, std::ostream* out) {
    *out << pair.first << " with " << pair.second;
}

// Every two of the seven, a dance with itself included: two keys pressed in the same frame.
std::vector<DancePair> everyPair() {
    std::vector<DancePair> pairs;
    for (std::size_t a = 0; a < DanceNames.size(); ++a) {
        for (std::size_t b = a; b < DanceNames.size(); ++b) {
            pairs.push_back({DanceNames[a], DanceNames[b]});
        }
    }
    return pairs;
}

// Started in the same frame, two dances double every motion they share: a kick in both lifts
// the leg twice as far, so this is the furthest any two keys can throw a limb.
class EachPair : public ::testing::TestWithParam<DancePair> {};

TEST_P(EachPair, StaysInSightAtEveryFrameAndTurnThenReturnsToRest) {
    ASSERT_NE(defaultSet().library, nullptr);
    Figure figure(defaultSet().library.get());
    playAndCheck(figure, {GetParam().first, GetParam().second});
    figure.update(TimeStep);
    expectBindPose(figure);
}

INSTANTIATE_TEST_SUITE_P(DefaultSet, EachPair, ::testing::ValuesIn(everyPair()),
                         [](const auto& parameter) {
                             return testName(parameter.param.first) + "With" +
                                    testName(parameter.param.second);
                         });

// Plays Salute with the partner from the same frame; returns how close any vertex of the
// saluting hand came to the centre of the head.
float closestSaluteToHead(const char* partner) {
    Figure figure(defaultSet().library.get());
    const ModelData& model = *figure.instances[0]->model;
    const auto& head = model.findBone("head")->vertices;
    const auto& hand = model.findBone("hand_r")->vertices;
    for (const char* name : {partner, "Salute"}) {
        ActiveAnimation record(name, 0.0f);
        figure.startAnimation(record);
    }
    const auto& positions = figure.instances[0]->positions;
    float closest = 1e9f;
    while (!figure.playing.empty()) {
        figure.update(TimeStep);
        Vector3 centre;
        for (std::int32_t v : head) {
            centre = Vector3(centre.x + positions[static_cast<std::size_t>(v)].x,
                             centre.y + positions[static_cast<std::size_t>(v)].y,
                             centre.z + positions[static_cast<std::size_t>(v)].z);
        }
        const float share = 1.0f / static_cast<float>(head.size());
        centre = Vector3(centre.x * share, centre.y * share, centre.z * share);
        for (std::int32_t v : hand) {
            closest = std::fmin(closest, distance(positions[static_cast<std::size_t>(v)], centre));
        }
    }
    return closest;
}

// The skull is about 10.5 units across from its centre; the fingers may touch, not enter.
constexpr float FingersInsideTheSkull = 8.0f;

// The saluting hand reaches the brow during the strut without passing into the head.
TEST(DancePairs, SaluteDuringStrutKeepsTheHandOutsideTheHead) {
    ASSERT_NE(defaultSet().library, nullptr);
    const float closest = closestSaluteToHead("Strut");
    EXPECT_GT(closest, FingersInsideTheSkull);
    EXPECT_LT(closest, 25.0f) << "the hand never came near the brow";
}

// Whatever else the figure dances, a salute started with it never puts the hand into the head.
TEST(DancePairs, SaluteWithAnyDanceKeepsTheHandOutsideTheHead) {
    ASSERT_NE(defaultSet().library, nullptr);
    for (const char* partner : DanceNames) {
        EXPECT_GT(closestSaluteToHead(partner), FingersInsideTheSkull) << partner;
    }
}

// The exact every-turn test agrees with projecting at many separate turn angles.
TEST(FixedView, EveryTurnTestAgreesWithSampledTurns) {
    const Vector3 points[] = {{0, 200, 0},    {0, 340, 0},   {0, 360, 0},   {60, 300, 0},
                              {0, 60, 0},     {0, 40, 0},    {120, 200, 0}, {0, 250, 150},
                              {140, 210, 10}, {30, 95, -20}, {0, 200, 199}, {0, 200, 201}};
    for (const Vector3& p : points) {
        bool everyTurn = true;
        for (int degrees = 0; degrees < 360; degrees += 1) {
            everyTurn = everyTurn && insideViewAtTurn(p, static_cast<float>(degrees));
        }
        EXPECT_EQ(insideViewAtEveryTurn(p), everyTurn) << p.x << ", " << p.y << ", " << p.z;
    }
    EXPECT_TRUE(insideViewAtTurn(Vector3(0, 200, 0), 0.0f));
    EXPECT_FALSE(insideViewAtTurn(Vector3(0, 400, 0), 0.0f));
}

}  // namespace
}  // namespace vorel
