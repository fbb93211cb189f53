// importMesh through importGltfBytes: which bone each vertex follows, bind positions, strips
// and fans, and normals from the file or computed.
#include "gltf/gltf_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "tests/gltf/import_test_helpers.h"
#include "tests/support/gltf_test_character.h"

namespace vorel::test_support {
namespace {

const PrimitiveRange& rangeOf(const ImportedSet& result, int node) {
    for (const PrimitiveRange& range : result.ranges) {
        if (range.node == node) return range;
    }
    throw std::runtime_error("no range for node " + std::to_string(node));
}

TEST(ImportMesh, RigidVertexFollowsItsHeaviestJointAttachedMeshesTheirJointStaticOnesNone) {
    ArmCharacter arm = makeArmCharacter();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importRigidWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    EXPECT_TRUE(result.model->weightedVertices.empty());
    EXPECT_EQ(2, result.model->header->version);
    const ModelData& model = *result.model;
    EXPECT_EQ(result.skinnedVertexCount, arm.skinnedVertices);
    EXPECT_EQ(result.weakVertexCount, arm.weakVertices);
    const PrimitiveRange& body = rangeOf(result, arm.body);
    const PrimitiveRange& hand = rangeOf(result, arm.hand);
    const PrimitiveRange& ground = rangeOf(result, arm.ground);
    EXPECT_EQ(body.binding, "skinned");
    EXPECT_EQ(hand.binding, "attached");
    EXPECT_EQ(ground.binding, "static");
    // Boxes of 8 corners around Hips, Upper and Lower; Upper's bottom corners weigh 0.6
    // on Upper, Lower's bottom ones 0.45 on Lower.
    const char* expected[3] = {"Hips", "Upper", "Lower"};
    for (int v = 0; v < 24; ++v) {
        const BoneData* bone = boneMoving(model, positionOf(result, body, v));
        ASSERT_NE(bone, nullptr) << v;
        EXPECT_EQ(bone->name, expected[v / 8]) << v;
        EXPECT_FLOAT_EQ(result.followedWeights[static_cast<std::size_t>(body.firstVertex + v)],
                        v < 8 || (v % 8) >= 4 ? 1.0f
                        : v < 16              ? 0.6f
                                              : 0.45f)
            << v;
    }
    for (int v = 0; v < 4; ++v) {
        const BoneData* bone = boneMoving(model, positionOf(result, hand, v));
        ASSERT_NE(bone, nullptr);
        EXPECT_EQ(bone->name, "Lower");
        EXPECT_EQ(boneMoving(model, positionOf(result, ground, v)), nullptr);
    }
}

// The name of the bone in place `index` of the model's pre-order walk.
std::string boneAt(const ModelData& model, std::int32_t index) {
    std::vector<const BoneData*> pending{model.rootBone.get()};
    for (std::int32_t at = 0; !pending.empty(); ++at) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        if (at == index) return bone->name;
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return "";
}

const VertexInfluences* influencesOf(const ModelData& model, std::int32_t position) {
    for (const WeightedVertex& weighted : model.weightedVertices) {
        if (weighted.vertex == position) return &weighted.influences;
    }
    return nullptr;
}

void expectInfluences(const ModelData& model, const VertexInfluences* influences,
                      const std::vector<std::pair<std::string, float>>& expected, int v) {
    ASSERT_NE(influences, nullptr) << v;
    ASSERT_EQ(influences->count, static_cast<std::int32_t>(expected.size())) << v;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(boneAt(model, influences->influences[k].bone), expected[k].first) << v;
        EXPECT_EQ(influences->influences[k].weight, expected[k].second) << v;
    }
}

TEST(ImportMesh, VerticesWeightedOverSeveralJointsKeepEveryWeightHeaviestFirst) {
    ArmCharacter arm = makeArmCharacter();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    const ModelData& model = *result.model;
    EXPECT_EQ(WeightedModelVersion, model.header->version);
    // The bottom corners of Upper's and Lower's boxes, four each.
    EXPECT_EQ(result.blendedVertexCount, 8);
    EXPECT_EQ(model.weightedVertices.size(), 8u);
    const PrimitiveRange& body = rangeOf(result, arm.body);
    for (int v = 0; v < 24; ++v) {
        const std::int32_t position = positionOf(result, body, v);
        const bool blended = v >= 8 && (v % 8) < 4;
        EXPECT_EQ(boneMoving(model, position) == nullptr, blended) << v;
        if (!blended) {
            EXPECT_EQ(influencesOf(model, position), nullptr) << v;
        } else if (v < 16) {
            expectInfluences(model, influencesOf(model, position),
                             {{"Upper", 0.6f}, {"Hips", 0.4f}}, v);
        } else {
            expectInfluences(model, influencesOf(model, position),
                             {{"Lower", 0.45f}, {"Upper", 0.35f}, {"Hips", 0.2f}}, v);
        }
    }
}

TEST(ImportMesh, MoreThanFourJointsKeepTheFourHeaviestRenormalisedWithOneWarning) {
    GltfBuilder builder;
    std::vector<int> joints;
    for (int j = 0; j < 5; ++j) joints.push_back(builder.addNode("J" + std::to_string(j)));
    const int body = addTriangleSkinnedAtOrigin(builder, joints, {0, 0, 0});
    tinygltf::Primitive& primitive = builder.model().meshes[0].primitives[0];
    const std::vector<float> firstWeights = {0.3f, 0.25f, 0.2f, 0.1f};
    std::vector<std::uint32_t> firstJoints, secondJoints;
    std::vector<float> weights, secondWeights;
    for (int v = 0; v < 3; ++v) {
        firstJoints.insert(firstJoints.end(), {0, 1, 2, 3});
        weights.insert(weights.end(), firstWeights.begin(), firstWeights.end());
        // The second set repeats joint 1 on the last vertex, which sums it to 0.3.
        secondJoints.insert(secondJoints.end(), {4, v == 2 ? 1u : 0u, 0, 0});
        secondWeights.insert(secondWeights.end(), {0.15f, v == 2 ? 0.05f : 0.0f, 0.0f, 0.0f});
    }
    primitive.attributes["JOINTS_0"] =
        builder.addUnsigned(firstJoints, TINYGLTF_TYPE_VEC4, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
    primitive.attributes["WEIGHTS_0"] = builder.addFloats(weights, TINYGLTF_TYPE_VEC4);
    primitive.attributes["JOINTS_1"] = builder.addUnsigned(secondJoints, TINYGLTF_TYPE_VEC4,
                                                           TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
    primitive.attributes["WEIGHTS_1"] = builder.addFloats(secondWeights, TINYGLTF_TYPE_VEC4);

    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(builder.glb(), result, error)) << error.describe();
    const ModelData& model = *result.model;
    EXPECT_EQ(std::count(result.warnings.begin(), result.warnings.end(),
                         "3 vertices have more than four joints: each keeps its four heaviest, "
                         "renormalised"),
              1);
    const PrimitiveRange& range = rangeOf(result, body);
    // 0.3 + 0.25 + 0.2 + 0.15 kept (summed in double), 0.1 (J3) lost.
    const double kept = double{0.3f} + double{0.25f} + double{0.2f} + double{0.15f};
    const auto renormalised = [kept](float weight) {
        return static_cast<float>(double{weight} / kept);
    };
    for (int v = 0; v < 2; ++v) {
        expectInfluences(model, influencesOf(model, positionOf(result, range, v)),
                         {{"J0", renormalised(0.3f)},
                          {"J1", renormalised(0.25f)},
                          {"J2", renormalised(0.2f)},
                          {"J4", renormalised(0.15f)}},
                         v);
    }
    // Joint 1's two entries make 0.3; ties go to the lower joint.
    const float keptLast = 0.3f + (0.25f + 0.05f) + 0.2f + 0.15f;
    const VertexInfluences* last = influencesOf(model, positionOf(result, range, 2));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(boneAt(model, last->influences[0].bone), "J0");
    EXPECT_EQ(boneAt(model, last->influences[1].bone), "J1");
    EXPECT_NEAR(last->influences[1].weight, 0.3f / keptLast, 1e-6f);

    ImportedSet rigid;
    ASSERT_TRUE(importRigidWithoutFit(builder.glb(), rigid, error)) << error.describe();
    EXPECT_TRUE(rigid.model->weightedVertices.empty());
    EXPECT_TRUE(rigid.warnings.empty());
}

TEST(ImportMesh, BindPositionsAreWhereTheFileDrawsThemWithoutAnimation) {
    ArmCharacter arm = makeArmCharacter();
    tinygltf::Model& file = arm.builder.model();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    // The body's skin binds it where its positions are (the skin's bind matches the nodes).
    const PrimitiveRange& body = rangeOf(result, arm.body);
    const unsigned char* positions =
        accessorBytes(file, file.meshes[0].primitives[0].attributes.at("POSITION"));
    for (int v = 0; v < body.vertexCount; ++v) {
        float p[3];
        std::memcpy(p, positions + 12 * static_cast<std::size_t>(v), 12);
        const Vector3& imported =
            result.model->positions[static_cast<std::size_t>(positionOf(result, body, v))];
        EXPECT_NEAR(imported.x, p[0], 1e-5) << v;
        EXPECT_NEAR(imported.y, p[1], 1e-5) << v;
        EXPECT_NEAR(imported.z, p[2], 1e-5) << v;
    }
    // The hand's corner (-0.2, -0.2) hangs 1 unit along Lower's +Z, which the elbow tilts 20
    // degrees about x, all halved by the armature that turns z up into y up.
    const PrimitiveRange& hand = rangeOf(result, arm.hand);
    const Vector3& corner =
        result.model->positions[static_cast<std::size_t>(positionOf(result, hand, 0))];
    const double tilt = 20.0 * 3.14159265358979 / 180.0;
    EXPECT_NEAR(corner.x, -0.1, 1e-5);
    EXPECT_NEAR(corner.y, 2.0 + 0.5 * 1.5 * std::cos(tilt) - 0.1 * std::sin(tilt), 1e-5);
    EXPECT_NEAR(corner.z, 0.5 * 1.5 * std::sin(tilt) + 0.1 * std::cos(tilt), 1e-5);
}

TEST(ImportMesh, EqualGreatestWeightsGoToTheLowerJointIndex) {
    ArmCharacter arm = makeArmCharacter();
    tinygltf::Model& file = arm.builder.model();
    // Vertex 0's weights: joint 2 (Lower) and joint 1 (Upper) half each.
    const tinygltf::Primitive& primitive = file.meshes[0].primitives[0];
    unsigned char* jointBytes = accessorBytes(file, primitive.attributes.at("JOINTS_0"));
    unsigned char* weightBytes = accessorBytes(file, primitive.attributes.at("WEIGHTS_0"));
    jointBytes[0] = 2;
    jointBytes[1] = 1;
    const float half[4] = {0.5f, 0.5f, 0.0f, 0.0f};
    std::memcpy(weightBytes, half, sizeof half);
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importRigidWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    const BoneData* bone =
        boneMoving(*result.model, positionOf(result, rangeOf(result, arm.body), 0));
    ASSERT_NE(bone, nullptr);
    EXPECT_EQ(bone->name, "Upper");
    // Blended, the tie orders the influences the same way.
    ImportedSet blended;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), blended, error)) << error.describe();
    expectInfluences(
        *blended.model,
        influencesOf(*blended.model, positionOf(blended, rangeOf(blended, arm.body), 0)),
        {{"Upper", 0.5f}, {"Lower", 0.5f}}, 0);
}

// A document of one static primitive in the given mode.
ImportedSet importPrimitive(const PrimitiveData& primitive, LoadError& error, bool& imported) {
    GltfBuilder builder;
    builder.addMesh(builder.addNode("shape"), primitive);
    ImportedSet result;
    imported = importWithoutFit(builder.glb(), result, error);
    return result;
}

TEST(ImportMesh, StripsAndFansBecomeTrianglesFacingOneWay) {
    // Five points of a pentagon-like fan in the XY plane, counter-clockwise seen from +Z.
    PrimitiveData fan;
    fan.positions = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1.5f, 0, -1, 1, 0};
    fan.mode = TINYGLTF_MODE_TRIANGLE_FAN;
    PrimitiveData strip;
    strip.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 2, 0};
    strip.mode = TINYGLTF_MODE_TRIANGLE_STRIP;
    const std::vector<std::vector<int>> fanCorners = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}};
    const std::vector<std::vector<int>> stripCorners = {{0, 1, 2}, {2, 1, 3}, {2, 3, 4}};
    for (const auto& [primitive, corners] :
         {std::make_pair(fan, fanCorners), std::make_pair(strip, stripCorners)}) {
        LoadError error;
        bool imported = false;
        const ImportedSet result = importPrimitive(primitive, error, imported);
        ASSERT_TRUE(imported) << error.describe();
        ASSERT_EQ(result.model->faces.size(), corners.size());
        for (std::size_t f = 0; f < corners.size(); ++f) {
            const Face& face = result.model->faces[f];
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(face.positionIndices[k], corners[f][static_cast<std::size_t>(k)]) << f;
            EXPECT_EQ(face.positionIndices[3], face.positionIndices[2]);
            for (int k = 0; k < 4; ++k) {
                EXPECT_NEAR(
                    result.model->normals[static_cast<std::size_t>(face.normalIndices[k])].z, 1.0f,
                    1e-6)
                    << f;
            }
        }
    }
}

TEST(ImportMesh, PointsAndLinesAreSkippedWithAWarning) {
    GltfBuilder builder;
    PrimitiveData triangle;
    triangle.positions = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    builder.addMesh(builder.addNode("triangle"), triangle);
    for (int mode : {TINYGLTF_MODE_POINTS, TINYGLTF_MODE_LINE, TINYGLTF_MODE_LINE_STRIP}) {
        PrimitiveData other = triangle;
        other.mode = mode;
        builder.addMesh(builder.addNode("other"), other);
    }
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(builder.glb(), result, error)) << error.describe();
    EXPECT_EQ(result.model->positions.size(), 3u);
    EXPECT_EQ(result.model->faces.size(), 1u);
    int skipped = 0;
    for (const std::string& warning : result.warnings)
        skipped += warning.find("skipped") != std::string::npos;
    EXPECT_EQ(skipped, 3);
}

TEST(ImportMesh, FileNormalsAreNormalisedMissingOnesSmoothedAcrossSharedPositions) {
    ArmCharacter arm = makeArmCharacter();
    ImportedSet result;
    LoadError error;
    ASSERT_TRUE(importWithoutFit(arm.builder.glb(), result, error)) << error.describe();
    // The hand's file normals are (0, 0, 2) in its node: unit length after the import.
    const PrimitiveRange& hand = rangeOf(result, arm.hand);
    const std::int32_t handCorner = positionOf(result, hand, 0);
    for (const Face& face : result.model->faces) {
        if (face.positionIndices[0] != handCorner) continue;
        for (int k = 0; k < 4; ++k) {
            const Vector3& n =
                result.model->normals[static_cast<std::size_t>(face.normalIndices[k])];
            EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-6);
        }
    }
    // Two right triangles folded along the y axis, each with vertices of its own: the two
    // positions on the fold get the mean of +Z and +X, the others their own face's normal.
    PrimitiveData fold;
    fold.positions = {0, 0, 0, 0, 1, 0, -1, 0, 0, 0, 0, 0, 0, 0, -1, 0, 1, 0};
    bool imported = false;
    const ImportedSet folded = importPrimitive(fold, error, imported);
    ASSERT_TRUE(imported) << error.describe();
    const double half = std::sqrt(0.5);
    const std::vector<Vector3> expected = {Vector3(float(half), 0, float(half)),
                                           Vector3(float(half), 0, float(half)),
                                           Vector3(0, 0, 1),
                                           Vector3(float(half), 0, float(half)),
                                           Vector3(1, 0, 0),
                                           Vector3(float(half), 0, float(half))};
    // Face f's corner k is the file's vertex 3f + k.
    for (std::size_t f = 0; f < folded.model->faces.size(); ++f) {
        for (std::size_t k = 0; k < 3; ++k) {
            const Face& face = folded.model->faces[f];
            const Vector3& n =
                folded.model->normals[static_cast<std::size_t>(face.normalIndices[k])];
            const Vector3& e = expected[3 * f + k];
            EXPECT_NEAR(n.x, e.x, 1e-6) << 3 * f + k;
            EXPECT_NEAR(n.y, e.y, 1e-6) << 3 * f + k;
            EXPECT_NEAR(n.z, e.z, 1e-6) << 3 * f + k;
        }
    }
}

}  // namespace
}  // namespace vorel::test_support
