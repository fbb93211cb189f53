// BoneSpheres against the check it stands in for (every vertex skinned by the viewer's own
// pass, each tested at its worst turn): the same verdict at every frame, with and without the
// travel taken away, while the dancer crosses each edge of the picture in small steps (so
// that her bones' spheres straddle the edges for many frames), while a limb swings out, while
// a bone scales her up, and on a figure with a vertex no bone moves and one moved twice.
#include "retarget/bone_spheres.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "app/fixed_view.h"
#include "math/hash_name.h"
#include "retarget/animation_poser.h"
#include "retarget/view_check.h"
#include "tests/dancer/default_set_fixture.h"
#include "tests/support/box_figure.h"

namespace vorel {
namespace {

// One key at time 0 and one at time 1 for each of the ten channels of one bone, linear
// between them: translation, scale and rotation (x, y, z, w) from `from` to `to`.
struct ChannelValues {
    float values[ChannelCount] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
};

std::unique_ptr<AnimationData> sweep(const std::string& bone, const ChannelValues& from,
                                     const ChannelValues& to) {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = 1.0f;
    animation->header->trackCount = 1;
    TrackData track;
    track.name = bone;
    track.nameHash = hashName(bone);
    for (int c = 0; c < ChannelCount; ++c) {
        Keyframe start;
        start.value = from.values[c];
        start.flags = keyFlags(SegmentMode::Linear, false);
        Keyframe end;
        end.time = 1.0f;
        end.value = to.values[c];
        end.flags = keyFlags(SegmentMode::Constant, false);
        track.channels[static_cast<std::size_t>(c)] = {start, end};
    }
    animation->tracks.push_back(std::move(track));
    return animation;
}

ChannelValues moved(int axis, float distance) {
    ChannelValues values;
    values.values[axis] = distance;
    return values;
}

Vector3 movedBack(const Vector3& p, const Vector3& travel) {
    return Vector3(p.x - travel.x, p.y, p.z - travel.z);
}

bool everyVertexInside(const AnimationPoser& poser, const Vector3& travel) {
    for (const Vector3& p : poser.positions()) {
        if (!insideViewAtEveryTurn(movedBack(p, travel))) return false;
    }
    return true;
}

struct Verdicts {
    int inside = 0;
    int outside = 0;
};

// Poses `frames` frames over the animation's second, both ways, and expects the same verdict
// with no travel and with a travel that moves every point sideways and back.
Verdicts expectSameVerdicts(const ModelData& model, const AnimationData& animation, int frames) {
    AnimationPoser poser(model, animation);
    BoneSpheres spheres(model);
    Verdicts verdicts;
    for (int f = 0; f < frames; ++f) {
        const auto time = static_cast<float>(f) / static_cast<float>(frames - 1);
        poser.pose(time);
        spheres.pose(poser.boneWorlds());
        for (const Vector3& travel : {Vector3(), Vector3(40.0f * time, 0.0f, -25.0f * time)}) {
            const bool full = everyVertexInside(poser, travel);
            EXPECT_EQ(spheres.insideView(travel), full)
                << "frame " << f << ", travel " << travel.x << " " << travel.z;
            ++(full ? verdicts.inside : verdicts.outside);
        }
    }
    return verdicts;
}

// The same verdicts over a sweep of one bone from rest to `to`, which must take the figure
// out of the picture for some frames but not all.
void expectSameVerdictsInAndOut(const ModelData& model, const std::string& bone,
                                const ChannelValues& to, int frames, const std::string& what) {
    const auto animation = sweep(bone, ChannelValues{}, to);
    const Verdicts verdicts = expectSameVerdicts(model, *animation, frames);
    EXPECT_GT(verdicts.inside, 0) << what;
    EXPECT_GT(verdicts.outside, 0) << what;
}

TEST(BoneSpheres, GiveTheFullChecksVerdictAsTheDancerCrossesEveryEdgeInSmallSteps) {
    // Her pelvis's translation channels, each way: up and down through the top and bottom
    // edges, sideways through the side edges, towards and away from the camera. Steps of
    // 0.6 units against spheres some 10 to 35 units across leave many frames in which a
    // sphere straddles an edge that its vertices have not all crossed.
    for (int axis = 0; axis < 3; ++axis) {
        for (const float distance : {-150.0f, 150.0f}) {
            expectSameVerdictsInAndOut(
                defaultDancer(), "pelvis", moved(axis, distance), 251,
                "axis " + std::to_string(axis) + " by " + std::to_string(distance));
        }
    }
}

TEST(BoneSpheres, GiveTheFullChecksVerdictWhileALimbSwingsOutOfThePicture) {
    // The left upper arm turned half a turn about its bone's x, carried towards the camera.
    ChannelValues raised = moved(1, 90.0f);
    raised.values[6] = 1.0f;
    raised.values[9] = 0.0f;
    expectSameVerdictsInAndOut(defaultDancer(), "upper_arm_l", raised, 201, "arm");
}

TEST(BoneSpheres, GiveTheFullChecksVerdictWhenABoneScalesTheFigure) {
    // A scaled bone stretches its spheres: the bound must grow with them. Her head, grown
    // up to three times over, is the first and only part of her to leave the picture.
    ChannelValues grown;
    for (int c = 3; c < 6; ++c) grown.values[c] = 3.0f;
    grown.values[3] = 2.0f;
    expectSameVerdictsInAndOut(defaultDancer(), "head", grown, 301, "head");
}

TEST(BoneSpheres, GiveTheFullChecksVerdictForVerticesNoBoneOrTwoMovesMove) {
    // The box's bone moves its first corner twice (listed twice) and leaves its last still.
    std::unique_ptr<ModelData> box = test_support::makeBoxModel();
    std::vector<std::int32_t>& vertices = box->rootBone->vertices;
    ASSERT_GE(vertices.size(), 2u);
    const std::int32_t first = vertices.front();
    vertices.pop_back();
    vertices.push_back(first);
    for (int axis = 0; axis < 3; ++axis)
        expectSameVerdictsInAndOut(*box, "body", moved(axis, 120.0f), 241,
                                   "axis " + std::to_string(axis));
}

TEST(CheckView, CountsWhatSkinningEveryVertexCounts) {
    // Carried sideways and back (the travel) while lifted: frames out both ways.
    ChannelValues far = moved(0, 120.0f);
    far.values[2] = 40.0f;
    const auto animation = sweep("pelvis", ChannelValues{}, far);
    const int frames = 301;
    const double frameTime = 1.0 / (frames - 1);
    ViewReport expected;
    expected.framesOutInPlace = 0;
    AnimationPoser poser(defaultDancer(), *animation);
    const BoneList bones = listBones(defaultDancer());
    const Vector3& head = bones.bones.front()->head;
    for (int f = 0; f < frames; ++f) {
        poser.pose(static_cast<float>(f * frameTime));
        const Vector3 moved = transformPoint(poser.boneWorlds().front(), head);
        const Vector3 travel(moved.x - head.x, 0.0f, moved.z - head.z);
        if (!everyVertexInside(poser, travel)) ++expected.framesOutInPlace;
        if (everyVertexInside(poser, Vector3())) continue;
        ++expected.framesOut;
        if (expected.firstOut < 0) expected.firstOut = f;
        expected.lastOut = f;
    }
    const ViewReport report = checkView(defaultDancer(), *animation, frames, frameTime, true);
    EXPECT_GT(expected.framesOut, 0);
    EXPECT_LT(expected.framesOut, frames);
    EXPECT_EQ(report.framesOut, expected.framesOut);
    EXPECT_EQ(report.firstOut, expected.firstOut);
    EXPECT_EQ(report.lastOut, expected.lastOut);
    EXPECT_EQ(report.framesOutInPlace, expected.framesOutInPlace);
}

// The lowest point found through the spheres is the lowest vertex the full skinning gives,
// at every frame of every one of the dancer's own dances.
TEST(BoneSpheres, TheLowestPointIsTheLowestSkinnedVertex) {
    const AssetLibrary& set = *defaultSet().library;
    BoneSpheres spheres(defaultDancer());
    for (const auto& animation : set.animations) {
        AnimationPoser poser(defaultDancer(), *animation);
        for (int f = 0; f < 40; ++f) {
            poser.pose(0.05f * static_cast<float>(f));
            spheres.pose(poser.boneWorlds());
            double skinned = std::numeric_limits<double>::infinity();
            for (const Vector3& p : poser.positions()) skinned = std::min(skinned, double{p.y});
            EXPECT_EQ(spheres.lowestBelow(std::numeric_limits<double>::infinity()), skinned);
            // Asked below a level nothing reaches, the level comes back untouched.
            EXPECT_EQ(spheres.lowestBelow(skinned - 1.0), skinned - 1.0);
        }
    }
}

}  // namespace
}  // namespace vorel
