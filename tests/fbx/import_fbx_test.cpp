// The FBX import through importFbxBytes on characters the tests' writer made: where the skin
// binds the mesh, how joints move under each transform property and rotation order, stacks
// and their start, units and axes, names, influences; posed the way the viewer poses them.
#include "fbx/import_fbx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "convert/affine_transform.h"
#include "retarget/animation_poser.h"
#include "skeleton/bone_list.h"
#include "tests/support/fbx_test_character.h"
#include "tests/support/fbx_test_writer.h"

namespace vorel::test_support {
namespace {

// 1e-4 of the arm character's height (3.5 file units, in centimetres).
constexpr double Tolerance = 1e-4 * 0.035;
constexpr double PI = 3.14159265358979323846;

bool importLayout(const FbxCharacterLayout& layout, ImportedSet& result, LoadError& error,
                  bool binary = true, bool deflate = true) {
    FbxCharacterLayout written = layout;
    written.binaryNames = binary;
    const FbxNode tree = buildFbxCharacter(written);
    const std::string bytes = binary ? writeFbxBinary(tree, {7400, deflate}) : writeFbxAscii(tree);
    ImportOptions options;
    options.fitToView = false;
    return importFbxBytes(bytes, binary ? "test.fbx" : "ascii.fbx", options, result, error);
}

// Metres per file unit.
double metres(const FbxCharacterLayout& layout) {
    return layout.unitScaleFactor / 100.0;
}

// Control point index of ring `ring` (0 based, over every deforming joint's rings), corner k.
std::size_t ringPoint(const FbxCharacterLayout& layout, int joint, int ring, int corner) {
    std::size_t rings = 0;
    for (int j = 0; j < joint; ++j)
        rings += layout.joints[static_cast<std::size_t>(j)].deforms ? 1 : 0;
    return (rings * static_cast<std::size_t>(layout.ringsPerJoint) +
            static_cast<std::size_t>(ring)) *
               4 +
           static_cast<std::size_t>(corner);
}

Point3d restPoint(const FbxCharacterLayout& layout, int joint, int corner) {
    double p[3];
    fbxRingVertex(layout, joint, 0, corner, p);
    return scaled({p[0], p[1], p[2]}, metres(layout));
}

Point3d origin(const FbxCharacterLayout& layout, int joint) {
    double o[3];
    fbxJointOrigin(layout, joint, o);
    return scaled({o[0], o[1], o[2]}, metres(layout));
}

// The posed model position of a joint's ring corner at clock time `time` of animation `a`.
Point3d posed(const ImportedSet& result, const FbxCharacterLayout& layout, std::size_t a,
              float time, int joint, int corner) {
    AnimationPoser poser(*result.model, *result.animations.at(a).data);
    poser.pose(time);
    const std::int32_t position = result.vertexPositions.at(ringPoint(layout, joint, 0, corner));
    return toPoint3d(poser.positions().at(static_cast<std::size_t>(position)));
}

::testing::AssertionResult near(const Point3d& actual, const Point3d& expected) {
    if (length(difference(actual, expected)) <= Tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not (" << expected.x
           << ", " << expected.y << ", " << expected.z << ")";
}

Quaternion4d turn(int axis, double degrees) {
    const double half = degrees * PI / 360.0;
    Quaternion4d q;
    (axis == 0 ? q.x : axis == 1 ? q.y : q.z) = std::sin(half);
    q.w = std::cos(half);
    return q;
}

// p turned by q about the point `about`.
Point3d turnedAbout(const Quaternion4d& q, const Point3d& p, const Point3d& about) {
    return sum(about, rotated(q, difference(p, about)));
}

TEST(ImportFbx, TheMeshRestsWhereTheSkinBindsItAndFollowsItsJoints) {
    FbxCharacterLayout layout = armCharacterLayout();
    layout.meshTranslation[0] = 0.3;  // the clusters' Transform holds the mesh's place
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
    ASSERT_EQ(result.boneCount, 3u);
    ASSERT_EQ(result.animations.size(), 1u);
    EXPECT_EQ(result.animations[0].name, "Bend");
    EXPECT_FLOAT_EQ(result.animations[0].data->header->duration, 1.0f);
    for (int joint = 0; joint < 3; ++joint) {
        for (int corner = 0; corner < 4; ++corner) {
            const std::int32_t position =
                result.vertexPositions.at(ringPoint(layout, joint, 0, corner));
            EXPECT_TRUE(
                near(toPoint3d(result.model->positions.at(static_cast<std::size_t>(position))),
                     restPoint(layout, joint, corner)))
                << joint << " " << corner;
        }
    }
    for (float time : {0.0f, 0.25f, 0.5f, 1.0f}) {
        const Quaternion4d bend = turn(2, 90.0 * time);
        EXPECT_TRUE(near(posed(result, layout, 0, time, 0, 1), restPoint(layout, 0, 1))) << time;
        for (int joint : {1, 2}) {
            EXPECT_TRUE(near(posed(result, layout, 0, time, joint, 2),
                             turnedAbout(bend, restPoint(layout, joint, 2), origin(layout, 1))))
                << joint << " at " << time;
        }
    }
}

TEST(ImportFbx, ClustersWithTheirTransformInTheJointsSpaceBindAsTheSdksDo) {
    FbxCharacterLayout sdk = armCharacterLayout();
    sdk.meshTranslation[0] = 0.3;
    FbxCharacterLayout blender = sdk;
    blender.transformInJointSpace = true;
    ImportedSet fromSdk, fromBlender;
    LoadError error;
    ASSERT_TRUE(importLayout(sdk, fromSdk, error)) << error.describe();
    ASSERT_TRUE(importLayout(blender, fromBlender, error)) << error.describe();
    ASSERT_EQ(fromBlender.model->positions.size(), fromSdk.model->positions.size());
    for (int joint = 0; joint < 3; ++joint) {
        for (int corner = 0; corner < 4; ++corner) {
            const auto at = static_cast<std::size_t>(
                fromBlender.vertexPositions.at(ringPoint(blender, joint, 0, corner)));
            EXPECT_TRUE(near(toPoint3d(fromBlender.model->positions.at(at)),
                             restPoint(blender, joint, corner)))
                << joint << " " << corner;
            EXPECT_TRUE(near(posed(fromBlender, blender, 0, 0.5f, joint, corner),
                             posed(fromSdk, sdk, 0, 0.5f, joint, corner)))
                << joint << " " << corner;
        }
    }
}

TEST(ImportFbx, BinaryRawDeflatedAndAsciiFilesImportAlike) {
    const FbxCharacterLayout layout = armCharacterLayout();
    ImportedSet deflated, raw, ascii;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, deflated, error, true, true)) << error.describe();
    ASSERT_TRUE(importLayout(layout, raw, error, true, false)) << error.describe();
    ASSERT_TRUE(importLayout(layout, ascii, error, false)) << error.describe();
    for (const ImportedSet* other : {&raw, &ascii}) {
        ASSERT_EQ(other->model->positions.size(), deflated.model->positions.size());
        for (std::size_t p = 0; p < deflated.model->positions.size(); ++p) {
            EXPECT_EQ(other->model->positions[p].x, deflated.model->positions[p].x);
            EXPECT_EQ(other->model->positions[p].y, deflated.model->positions[p].y);
        }
        EXPECT_EQ(other->animations[0].keyTimes, deflated.animations[0].keyTimes);
    }
}

TEST(ImportFbx, PreRotationAndRotationPivotTurnTheJointAboutThePivot) {
    FbxCharacterLayout layout = armCharacterLayout();
    FbxJointLayout& spine = layout.joints[1];
    spine.preRotation[2] = 90.0;
    spine.rotationPivot[0] = 0.5;
    // Lcl Rotation z runs from -90 (undoing the pre-rotation) to 0: a 90 degree turn.
    layout.stacks[0].curves[0].values = {-90.0, 0.0};
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
    const Point3d pivot = sum(origin(layout, 1), {0.5 * metres(layout), 0.0, 0.0});
    for (float time : {0.5f, 1.0f}) {
        EXPECT_TRUE(near(posed(result, layout, 0, time, 2, 0),
                         turnedAbout(turn(2, 90.0 * time), restPoint(layout, 2, 0), pivot)))
            << time;
    }
}

TEST(ImportFbx, EveryRotationOrderTurnsItsAxesInItsOrder) {
    // Axes in the order they turn, for XYZ, XZY, YZX, YXZ, ZXY, ZYX.
    const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};
    const double angles[3] = {30.0, 60.0, 45.0};
    for (int order = 0; order < 6; ++order) {
        FbxCharacterLayout layout = armCharacterLayout();
        layout.joints[1].rotationOrder = order;
        layout.stacks[0].curves.clear();
        for (int axis = 0; axis < 3; ++axis) {
            FbxCurveLayout curve;
            curve.joint = 1;
            curve.axis = axis;
            curve.seconds = {0.0, 1.0};
            curve.values = {angles[axis], angles[axis]};
            layout.stacks[0].curves.push_back(curve);
        }
        ImportedSet result;
        LoadError error;
        ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
        Quaternion4d q;
        for (int axis : orders[order]) q = hamiltonProduct(turn(axis, angles[axis]), q);
        EXPECT_TRUE(near(posed(result, layout, 0, 0.5f, 2, 3),
                         turnedAbout(q, restPoint(layout, 2, 3), origin(layout, 1))))
            << "order " << order;
    }
}

TEST(ImportFbx, StacksAreAnimationsStartingAtTheirLocalStartWithTheirKeysKinds) {
    FbxCharacterLayout layout = armCharacterLayout();
    FbxStackLayout late = layout.stacks[0];
    late.name = "Late";
    late.localStart = 5.0;
    late.localStop = 7.0;
    late.curves[0].seconds = {0.0, 2.0};
    FbxStackLayout held = layout.stacks[0];
    held.name = "Held";
    held.curves[0].flags = 0x02;
    FbxStackLayout smooth = layout.stacks[0];
    smooth.name = "Smooth";
    smooth.curves[0].flags = 0x08;  // cubic with flat tangents: 3s^2 - 2s^3 of the way
    layout.stacks.push_back(late);
    layout.stacks.push_back(held);
    layout.stacks.push_back(smooth);
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
    ASSERT_EQ(result.animations.size(), 4u);
    EXPECT_EQ(result.animations[1].name, "Late");
    EXPECT_FLOAT_EQ(result.animations[1].data->header->duration, 2.0f);
    const Point3d head = restPoint(layout, 2, 0);
    const Point3d spine = origin(layout, 1);
    EXPECT_TRUE(
        near(posed(result, layout, 1, 1.0f, 2, 0), turnedAbout(turn(2, 45.0), head, spine)));
    EXPECT_TRUE(near(posed(result, layout, 2, 0.5f, 2, 0), head));
    const double s = 0.25;
    EXPECT_TRUE(near(posed(result, layout, 3, 0.25f, 2, 0),
                     turnedAbout(turn(2, 90.0 * (3 * s * s - 2 * s * s * s)), head, spine)));
}

TEST(ImportFbx, UnitsAndUpAxesBecomeMetresWithYUp) {
    for (double unit : {1.0, 100.0}) {
        FbxCharacterLayout layout = armCharacterLayout();
        layout.unitScaleFactor = unit;
        ImportedSet result;
        LoadError error;
        ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
        const std::int32_t top = result.vertexPositions.at(ringPoint(layout, 2, 0, 0));
        EXPECT_NEAR(result.model->positions.at(static_cast<std::size_t>(top)).y, 3.5 * unit / 100.0,
                    1e-6 * unit);
    }
    // 3ds Max's axes: z up, -y to the front.
    FbxCharacterLayout layout = armCharacterLayout();
    layout.upAxis = 2;
    layout.frontAxis = 1;
    layout.frontSign = -1;
    for (FbxJointLayout& joint : layout.joints)
        std::swap(joint.translation[1], joint.translation[2]);
    layout.stacks.clear();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
    for (int corner = 0; corner < 4; ++corner) {
        double p[3];
        fbxRingVertex(layout, 2, 0, corner, p);
        const std::int32_t at = result.vertexPositions.at(ringPoint(layout, 2, 0, corner));
        EXPECT_TRUE(near(toPoint3d(result.model->positions.at(static_cast<std::size_t>(at))),
                         scaled({p[0], p[2], -p[1]}, 0.01)));
    }
}

// The first control point of the ring every deforming joint shares.
std::size_t sharedPoint(const FbxCharacterLayout& layout, int deformingJoints) {
    return static_cast<std::size_t>(deformingJoints * layout.ringsPerJoint * 4);
}

TEST(ImportFbx, NamesInfluencesAndARootThatDeformsNothing) {
    const FbxCharacterLayout layout = fiveInfluenceLayout();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, result, error)) << error.describe();
    EXPECT_EQ(result.boneCount, 6u);
    EXPECT_NE(result.model->findBone("mixamorig:Root"), nullptr);
    EXPECT_NE(result.model->findBone("mixamorig:Spine"), nullptr);
    const std::size_t shared = sharedPoint(layout, 5);
    EXPECT_FLOAT_EQ(result.followedWeights.at(shared), 0.6f);
    // The four heaviest stay (the first arm wins the tie with the second), renormalised.
    const std::int32_t position = result.vertexPositions.at(shared);
    const WeightedVertex* weighted = nullptr;
    for (const WeightedVertex& vertex : result.model->weightedVertices) {
        if (vertex.vertex == position) weighted = &vertex;
    }
    ASSERT_NE(weighted, nullptr);
    ASSERT_EQ(weighted->influences.count, 4);
    const char* names[4] = {"mixamorig:Hips", "mixamorig:Spine", "mixamorig:Head",
                            "mixamorig:LeftArm"};
    const float weights[4] = {0.6f / 0.9f, 0.1f / 0.9f, 0.1f / 0.9f, 0.1f / 0.9f};
    const BoneList bones = listBones(*result.model);
    for (int k = 0; k < 4; ++k) {
        const Influence& influence = weighted->influences.influences[k];
        EXPECT_EQ(influence.bone, bones.find(names[k])) << k;
        EXPECT_NEAR(influence.weight, weights[k], 1e-6f) << k;
    }
    EXPECT_EQ(result.blendedVertexCount, 4);
    EXPECT_EQ(std::count(result.warnings.begin(), result.warnings.end(),
                         "4 vertices have more than four joints: each keeps its four heaviest, "
                         "renormalised"),
              1);
}

TEST(ImportFbx, ABlendedVertexMovesByItsWeightsAndARigidImportGivesItItsHeaviestJoint) {
    const FbxCharacterLayout layout = fiveInfluenceLayout();
    ImportedSet blended, rigid;
    LoadError error;
    ASSERT_TRUE(importLayout(layout, blended, error)) << error.describe();
    FbxCharacterLayout written = layout;
    const FbxNode tree = buildFbxCharacter(written);
    ImportOptions options;
    options.fitToView = false;
    options.rigid = true;
    ASSERT_TRUE(
        importFbxBytes(writeFbxBinary(tree, {7400, true}), "rigid.fbx", options, rigid, error))
        << error.describe();
    EXPECT_TRUE(rigid.model->weightedVertices.empty());
    EXPECT_EQ(rigid.blendedVertexCount, 0);
    const std::size_t shared = sharedPoint(layout, 5);
    const BoneData* hips = rigid.model->findBone("mixamorig:Hips");
    ASSERT_NE(hips, nullptr);
    const std::int32_t rigidPosition = rigid.vertexPositions.at(shared);
    EXPECT_NE(std::find(hips->vertices.begin(), hips->vertices.end(), rigidPosition),
              hips->vertices.end());
    // Spine, Head and LeftArm turn together about the spine; Hips stays: the blended point
    // moves a third of the way the turned point does, the rigid one not at all.
    double p[3];
    fbxRingVertex(layout, 1, layout.ringsPerJoint, 0, p);
    const Point3d rest = scaled({p[0], p[1], p[2]}, metres(layout));
    for (float time : {0.0f, 0.5f, 1.0f}) {
        const Point3d turned = turnedAbout(turn(2, 90.0 * time), rest, origin(layout, 2));
        const Point3d expected = sum(scaled(rest, 2.0 / 3.0), scaled(turned, 1.0 / 3.0));
        AnimationPoser poser(*blended.model, *blended.animations.at(0).data);
        poser.pose(time);
        const auto at = static_cast<std::size_t>(blended.vertexPositions.at(shared));
        EXPECT_TRUE(near(toPoint3d(poser.positions().at(at)), expected)) << time;
        AnimationPoser rigidPoser(*rigid.model, *rigid.animations.at(0).data);
        rigidPoser.pose(time);
        EXPECT_TRUE(near(
            toPoint3d(rigidPoser.positions().at(static_cast<std::size_t>(rigidPosition))), rest))
            << time;
    }
}

}  // namespace
}  // namespace vorel::test_support
