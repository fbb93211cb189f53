// exportGltf, recordAnimation and keysToKeep: the exported document, skinned with its own node
// transforms and inverse bind matrices, puts every vertex where the figure puts it; what glTF
// cannot hold is counted; the recording plays exactly the figure's frames.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "anim/figure.h"
#include "anim/record_motion.h"
#include "convert/affine_transform.h"
#include "gltf/export_mesh.h"
#include "gltf/export_skeleton.h"
#include "gltf/gltf_accessor.h"
#include "gltf/gltf_export.h"
#include "gltf/repeated_keys.h"
#include "math/hash_name.h"
#include "tests/support/runtime_test_models.h"

namespace vorel {
namespace {

using test_support::makeAnimation;
using test_support::makeBone;
using test_support::makeFace;
using test_support::makeKey;
using test_support::makeModel;
using test_support::rotationAbout;

constexpr float Step = 0.01f;

// Two quads: one moved by "upper", one by "lower", a child of "upper". The bones lie off the
// axes (slanted, with a roll) so that their rest frames are neither the identity nor each other.
std::unique_ptr<ModelData> makeArmModel() {
    std::vector<Vector3> positions = {{0, 0, 0},  {10, 0, 0},  {10, 30, 2}, {0, 30, 2},
                                      {0, 30, 2}, {10, 30, 2}, {12, 60, 5}, {2, 60, 5}};
    std::vector<Vector3> normals = {{0, 0, 3}, {0, 0.5f, 2}, {1, 0, 0}};
    std::vector<Face> faces = {makeFace({0, 1, 2, 3}, {0, 0, 1, 1}),
                               makeFace({4, 5, 6, 7}, {1, 1, 2, 2})};
    auto upper =
        makeBone("upper", Vector3(5, 0, 1), Vector3(6, 30, 3), Vector3(20, 5, 1), {0, 1, 2, 3});
    upper->firstChild =
        makeBone("lower", Vector3(6, 30, 3), Vector3(7, 60, 6), Vector3(6, 31, 20), {4, 5, 6, 7});
    return makeModel(positions, normals, faces, std::move(upper));
}

// A channel's keys at the given times, each starting a linear segment.
std::vector<Keyframe> linearKeys(const std::vector<float>& times,
                                 const std::vector<float>& values) {
    std::vector<Keyframe> keys;
    for (std::size_t i = 0; i < times.size(); ++i) keys.push_back(makeKey(times[i], values[i]));
    return keys;
}

// Turns about two different axes, a translation and a non-uniform scale, all moving at once.
TrackData makeWaveTrack(const std::string& bone, const Vector3& axis, float degrees) {
    TrackData track;
    track.name = bone;
    track.nameHash = hashName(bone);
    const Quaternion start = rotationAbout(axis, 0.0f);
    const Quaternion middle = rotationAbout(axis, degrees);
    const Quaternion end = rotationAbout(Vector3(1, 0, 0), -degrees);
    track.channels[0] = linearKeys({0.0f, 0.25f, 0.5f}, {0.0f, 3.0f, -2.0f});
    track.channels[2] = linearKeys({0.0f, 0.5f}, {1.0f, 4.0f});
    track.channels[3] = linearKeys({0.0f, 0.5f}, {1.0f, 1.5f});
    track.channels[5] = linearKeys({0.0f, 0.5f}, {1.0f, 0.75f});
    track.channels[6] = linearKeys({0.0f, 0.2f, 0.5f}, {start.x, middle.x, end.x});
    track.channels[7] = linearKeys({0.0f, 0.2f, 0.5f}, {start.y, middle.y, end.y});
    track.channels[8] = linearKeys({0.0f, 0.2f, 0.5f}, {start.z, middle.z, end.z});
    track.channels[9] = linearKeys({0.0f, 0.2f, 0.5f}, {start.w, middle.w, end.w});
    return track;
}

std::unique_ptr<AssetLibrary> makeArmLibrary() {
    auto library = std::make_unique<AssetLibrary>();
    library->addModel(makeArmModel(), "Arm");
    std::vector<TrackData> tracks = {makeWaveTrack("upper", Vector3(0, 0, 1), 50.0f),
                                     makeWaveTrack("lower", Vector3(0, 1, 0), 70.0f)};
    library->addAnimation(makeAnimation(0.5f, tracks), "Wave");
    std::vector<TrackData> stranger = {makeWaveTrack("nobody", Vector3(0, 0, 1), 30.0f)};
    library->addAnimation(makeAnimation(0.3f, stranger), "Stranger");
    return library;
}

std::vector<float> floats(const tinygltf::Model& gltf, int accessor, int components) {
    std::vector<float> values;
    LoadError error;
    EXPECT_TRUE(readFloatAccessor(gltf, accessor, components, values, error)) << error.describe();
    return values;
}

// A LINEAR channel at a time: the keys' values between which the time falls, interpolated
// (spherically for rotations), as a glTF client does it.
std::vector<double> sampleChannel(const tinygltf::Model& gltf,
                                  const tinygltf::AnimationSampler& sampler, int components,
                                  float time) {
    const std::vector<float> times = floats(gltf, sampler.input, 1);
    const std::vector<float> values = floats(gltf, sampler.output, components);
    std::size_t next = 0;
    while (next < times.size() && times[next] < time) ++next;
    auto key = [&](std::size_t i) {
        return std::vector<double>(
            values.begin() + static_cast<std::ptrdiff_t>(i * components),
            values.begin() + static_cast<std::ptrdiff_t>((i + 1) * components));
    };
    if (next == 0) return key(0);
    if (next == times.size()) return key(times.size() - 1);
    const double u = (double{time} - times[next - 1]) / (double{times[next]} - times[next - 1]);
    const std::vector<double> a = key(next - 1), b = key(next);
    if (components == 4) {
        const Quaternion4d q = slerp({a[0], a[1], a[2], a[3]}, {b[0], b[1], b[2], b[3]}, u);
        return {q.x, q.y, q.z, q.w};
    }
    std::vector<double> mixed(a.size());
    for (std::size_t c = 0; c < a.size(); ++c) mixed[c] = a[c] + (b[c] - a[c]) * u;
    return mixed;
}

// Every node's local TRS at a time of an animation (-1: the nodes as stored).
std::vector<TrsTransform> nodeLocals(const tinygltf::Model& gltf, int animation, float time) {
    std::vector<TrsTransform> locals(gltf.nodes.size());
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        const tinygltf::Node& node = gltf.nodes[n];
        if (node.translation.size() == 3)
            locals[n].translation = {node.translation[0], node.translation[1], node.translation[2]};
        if (node.rotation.size() == 4)
            locals[n].rotation = {node.rotation[0], node.rotation[1], node.rotation[2],
                                  node.rotation[3]};
        if (node.scale.size() == 3) locals[n].scale = {node.scale[0], node.scale[1], node.scale[2]};
    }
    if (animation < 0) return locals;
    const tinygltf::Animation& clip = gltf.animations[static_cast<std::size_t>(animation)];
    for (const tinygltf::AnimationChannel& channel : clip.channels) {
        const tinygltf::AnimationSampler& sampler =
            clip.samplers[static_cast<std::size_t>(channel.sampler)];
        TrsTransform& local = locals[static_cast<std::size_t>(channel.target_node)];
        const int components = channel.target_path == "rotation" ? 4 : 3;
        const std::vector<double> v = sampleChannel(gltf, sampler, components, time);
        if (channel.target_path == "translation") local.translation = {v[0], v[1], v[2]};
        if (channel.target_path == "rotation") local.rotation = {v[0], v[1], v[2], v[3]};
        if (channel.target_path == "scale") local.scale = {v[0], v[1], v[2]};
    }
    return locals;
}

// Where glTF skinning puts each vertex: joint matrix = node global * inverse bind matrix.
std::vector<Point3d> skinnedVertices(const tinygltf::Model& gltf, int animation, float time) {
    const std::vector<TrsTransform> locals = nodeLocals(gltf, animation, time);
    std::vector<int> parent(gltf.nodes.size(), -1);
    for (std::size_t n = 0; n < gltf.nodes.size(); ++n) {
        for (const int child : gltf.nodes[n].children)
            parent[static_cast<std::size_t>(child)] = static_cast<int>(n);
    }
    auto globalOf = [&](int node) {
        AffineTransform global = AffineTransform::fromTrs(locals[static_cast<std::size_t>(node)]);
        for (int p = parent[static_cast<std::size_t>(node)]; p >= 0;
             p = parent[static_cast<std::size_t>(p)]) {
            global = AffineTransform::compose(
                global, AffineTransform::fromTrs(locals[static_cast<std::size_t>(p)]));
        }
        return global;
    };
    const tinygltf::Skin& skin = gltf.skins[0];
    const std::vector<float> inverseBinds = floats(gltf, skin.inverseBindMatrices, 16);
    std::vector<AffineTransform> jointMatrices;
    for (std::size_t j = 0; j < skin.joints.size(); ++j) {
        double columnMajor[16];
        for (int e = 0; e < 16; ++e)
            columnMajor[e] = inverseBinds[16 * j + static_cast<std::size_t>(e)];
        jointMatrices.push_back(AffineTransform::compose(
            AffineTransform::fromColumnMajor(columnMajor), globalOf(skin.joints[j])));
    }
    const tinygltf::Primitive& primitive = gltf.meshes[0].primitives[0];
    const std::vector<float> positions = floats(gltf, primitive.attributes.at("POSITION"), 3);
    std::vector<std::uint32_t> joints;
    LoadError error;
    EXPECT_TRUE(readUnsignedAccessor(gltf, primitive.attributes.at("JOINTS_0"), 4, joints, error));
    std::vector<Point3d> skinned;
    for (std::size_t v = 0; v * 3 < positions.size(); ++v) {
        const Point3d p{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
        skinned.push_back(jointMatrices[joints[4 * v]].transformPoint(p));
    }
    return skinned;
}

double largestDistance(const std::vector<Point3d>& skinned,
                       const std::vector<std::int32_t>& sources,
                       const std::vector<Vector3>& figurePositions) {
    double largest = 0.0;
    for (std::size_t v = 0; v < skinned.size(); ++v) {
        const Point3d expected = toPoint3d(figurePositions[static_cast<std::size_t>(sources[v])]);
        largest = std::max(largest, length(difference(skinned[v], expected)));
    }
    return largest;
}

struct ArmExport {
    std::unique_ptr<AssetLibrary> library = makeArmLibrary();
    std::vector<const BoneData*> bones = bonesInWalkOrder(*library->models[0]);
    tinygltf::Model gltf;
    GltfExportSummary summary;
    std::vector<RecordedMotion> motions;
};

void exportArm(ArmExport& arm) {
    Figure figure(arm.library.get());
    std::string problem;
    for (const std::string& name : arm.library->animationNames) {
        RecordedMotion motion;
        ASSERT_TRUE(recordAnimation(figure, name, arm.bones, Step, 1.0, motion, problem))
            << problem;
        arm.motions.push_back(motion);
    }
    ASSERT_TRUE(
        exportGltf(*arm.library->models[0], "Arm", arm.motions, arm.gltf, arm.summary, problem))
        << problem;
}

TEST(ExportGltf, SkinningTheDocumentPutsEveryVertexWhereTheFigurePutsItAtEveryFrame) {
    ArmExport arm;
    exportArm(arm);
    ExportMesh mesh;
    std::string problem;
    ASSERT_TRUE(buildExportMesh(*arm.library->models[0], arm.bones, mesh, problem));
    // The rest pose, then every frame the viewer plays of the dance.
    Figure figure(arm.library.get());
    EXPECT_LT(largestDistance(skinnedVertices(arm.gltf, -1, 0.0f), mesh.sourcePositions,
                              figure.instances[0]->positions),
              1e-4);
    ActiveAnimation wave("Wave", 0.0f);
    figure.startAnimation(wave);
    std::size_t frame = 0;
    for (; !figure.playing.empty(); ++frame) {
        const float time = figure.playing.front().localTime;
        figure.update(Step);
        if (figure.playing.empty()) break;
        const double distance =
            largestDistance(skinnedVertices(arm.gltf, 0, time), mesh.sourcePositions,
                            figure.instances[0]->positions);
        EXPECT_LT(distance, 1e-4) << "frame " << frame + 1 << " at " << time;
    }
    EXPECT_EQ(arm.motions[0].keyTimes.size(), 51u);
}

TEST(ExportGltf, JointsFollowTheBoneTreeUnderAStaticRootThatIsTheSkeleton) {
    ArmExport arm;
    exportArm(arm);
    const tinygltf::Skin& skin = arm.gltf.skins[0];
    ASSERT_EQ(skin.joints.size(), 3u);
    EXPECT_EQ(skin.skeleton, skin.joints[0]);
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(skin.joints[0])].name, RootJointName);
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(skin.joints[1])].name, "upper");
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(skin.joints[2])].name, "lower");
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(skin.joints[0])].children,
              std::vector<int>{skin.joints[1]});
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(skin.joints[1])].children,
              std::vector<int>{skin.joints[2]});
    // The mesh node and the skeleton are the scene's roots.
    EXPECT_EQ(arm.gltf.scenes[0].nodes.size(), 2u);
    EXPECT_EQ(arm.gltf.nodes[static_cast<std::size_t>(arm.gltf.scenes[0].nodes[0])].skin, 0);
    EXPECT_NE(arm.gltf.asset.generator.find("Vorel"), std::string::npos);
    EXPECT_EQ(arm.gltf.materials[0].pbrMetallicRoughness.baseColorFactor[2], ViewerBaseColour[2]);
}

TEST(ExportGltf, CornersShareAVertexOnlyWhenPositionAndNormalAreBothEqual) {
    ArmExport arm;
    exportArm(arm);
    // Face 0 has the pairs (0,0) (1,0) (2,1) (3,1); face 1 (4,1) (5,1) (6,2) (7,2): 8 vertices,
    // because the faces share no position index even where the points coincide.
    EXPECT_EQ(arm.summary.vertexCount, 8u);
    EXPECT_EQ(arm.summary.triangleCount, 4u);
    const tinygltf::Primitive& primitive = arm.gltf.meshes[0].primitives[0];
    const std::vector<float> normals = floats(arm.gltf, primitive.attributes.at("NORMAL"), 3);
    EXPECT_FLOAT_EQ(normals[2], 1.0f);
    EXPECT_NEAR(std::hypot(normals[7], normals[8]), 1.0, 1e-6);
    std::vector<std::uint32_t> indices;
    LoadError error;
    ASSERT_TRUE(readUnsignedAccessor(arm.gltf, primitive.indices, 1, indices, error));
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
}

TEST(ExportGltf, ATriangleStoredAsAQuadWithARepeatedCornerGivesOneTriangle) {
    auto model = makeModel({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}},
                           {makeFace({0, 1, 2, 2}, {0, 0, 0, 0})},
                           test_support::makeAxisBone("only", {0, 1, 2}));
    tinygltf::Model gltf;
    GltfExportSummary summary;
    std::string problem;
    ASSERT_TRUE(exportGltf(*model, "Triangle", {}, gltf, summary, problem)) << problem;
    EXPECT_EQ(summary.vertexCount, 3u);
    EXPECT_EQ(summary.triangleCount, 1u);
    EXPECT_TRUE(summary.warnings.empty());
}

TEST(ExportGltf, VerticesUnderTwoBonesOrNoneAreCountedAndBoundToTheLastBoneOrTheRoot) {
    auto model = makeArmModel();
    // Position 3 is listed by "upper" and again by "lower"; position 7 by no bone.
    model->rootBone->firstChild->vertices = {3, 4, 5, 6};
    tinygltf::Model gltf;
    GltfExportSummary summary;
    std::string problem;
    ASSERT_TRUE(exportGltf(*model, "Arm", {}, gltf, summary, problem)) << problem;
    ASSERT_EQ(summary.warnings.size(), 2u);
    EXPECT_EQ(summary.warnings[0].rfind("1 vertex listed under more than one bone", 0), 0u)
        << summary.warnings[0];
    EXPECT_EQ(summary.warnings[1].rfind("1 vertex under no bone", 0), 0u) << summary.warnings[1];
    std::vector<std::uint32_t> joints;
    LoadError error;
    ASSERT_TRUE(readUnsignedAccessor(gltf, gltf.meshes[0].primitives[0].attributes.at("JOINTS_0"),
                                     4, joints, error));
    EXPECT_EQ(joints[4 * 3], 2u);  // vertex 3 is position 3: the last bone that lists it
    EXPECT_EQ(joints[4 * 7], 0u);  // vertex 7 is position 7: the static root
    EXPECT_EQ(joints[4 * 0], 1u);
}

TEST(ExportGltf, AnAnimationNamingNoBoneKeepsItsLengthWithNoBoneChannel) {
    ArmExport arm;
    exportArm(arm);
    ASSERT_EQ(arm.gltf.animations.size(), 2u);
    const tinygltf::Animation& stranger = arm.gltf.animations[1];
    EXPECT_EQ(stranger.name, "Stranger");
    ASSERT_EQ(stranger.channels.size(), 1u);
    EXPECT_EQ(stranger.channels[0].target_node, arm.gltf.skins[0].joints[0]);
    const std::vector<float> times = floats(arm.gltf, stranger.samplers[0].input, 1);
    EXPECT_EQ(times.back(), arm.motions[1].keyTimes.back());
    ASSERT_EQ(arm.summary.warnings.size(), 1u);
    EXPECT_NE(arm.summary.warnings[0].find("'Stranger' names no bone"), std::string::npos);
}

TEST(ExportGltf, WhatGltfCannotHoldFailsWithAReason) {
    std::string problem;
    tinygltf::Model gltf;
    GltfExportSummary summary;
    auto notFinite = makeArmModel();
    notFinite->positions[2].y = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(exportGltf(*notFinite, "Arm", {}, gltf, summary, problem));
    EXPECT_EQ(problem, "position 2 is not a finite number");

    auto flat =
        makeModel({{0, 0, 0}}, {{0, 0, 1}}, {makeFace({0, 0, 0, 0}, {0, 0, 0, 0})}, nullptr);
    EXPECT_FALSE(exportGltf(*flat, "Flat", {}, gltf, summary, problem));
    EXPECT_NE(problem.find("no face with three distinct corners"), std::string::npos);

    ArmExport arm;
    exportArm(arm);
    arm.motions[0].transforms[7].rotation.w = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(exportGltf(*arm.library->models[0], "Arm", arm.motions, gltf, summary, problem));
    EXPECT_EQ(problem, "animation 'Wave': bone 'lower' at key 3 is not a finite number");

    // Finite recorded floats whose node local does not fit a float.
    ArmExport far;
    exportArm(far);
    const float largest = std::numeric_limits<float>::max();
    far.motions[0].transforms[7].translation = Vector3(largest, largest, largest);
    EXPECT_FALSE(exportGltf(*far.library->models[0], "Arm", far.motions, gltf, summary, problem));
    EXPECT_EQ(problem, "animation 'Wave': bone 'lower' at key 3 moves beyond what a float holds");

    // A model file may hold any bits in a bone's rest frame.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto restNotFinite = makeModel(
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 1}}, {makeFace({0, 1, 2, 2}, {0, 0, 0, 0})},
        makeBone("lower", Vector3(nan, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1), {0, 1, 2}));
    EXPECT_FALSE(exportGltf(*restNotFinite, "Arm", {}, gltf, summary, problem));
    EXPECT_EQ(problem, "bone 'lower': its rest frame is not a finite number");

    // A name holding a line break still gives one line.
    restNotFinite->rootBone->name = "low\ner";
    EXPECT_FALSE(exportGltf(*restNotFinite, "Arm", {}, gltf, summary, problem));
    EXPECT_EQ(problem, "bone 'low\\x0aer': its rest frame is not a finite number");
}

TEST(RecordAnimation, PlaysTheFramesTheFigurePlaysWithItsLocalTimesAsKeyTimes) {
    auto library = makeArmLibrary();
    Figure figure(library.get());
    const auto bones = bonesInWalkOrder(*library->models[0]);
    RecordedMotion motion;
    std::string problem;
    ASSERT_TRUE(recordAnimation(figure, "Wave", bones, Step, 2.0, motion, problem)) << problem;
    EXPECT_TRUE(figure.playing.empty());
    float local = 0.0f;
    ASSERT_EQ(motion.keyTimes.size(), 51u);
    for (const float time : motion.keyTimes) {
        EXPECT_EQ(time, static_cast<float>(double{local} * 2.0));
        local += Step;
    }
    EXPECT_GT(local, 0.5f);
    EXPECT_EQ(motion.transforms.size(), 51u * 2u);
    EXPECT_TRUE(motion.namesBone);
    ASSERT_TRUE(recordAnimation(figure, "Stranger", bones, Step, 1.0, motion, problem));
    EXPECT_FALSE(motion.namesBone);
    EXPECT_FALSE(recordAnimation(figure, "Missing", bones, Step, 1.0, motion, problem));
    EXPECT_EQ(problem, "no animation named 'Missing'");
}

TEST(RecordAnimation, ADanceThatEndsBeforeItsFirstFrameIsLeftOutWithAWarning) {
    auto library = makeArmLibrary();
    library->animations[0]->header->duration = -1.0f;
    Figure figure(library.get());
    const auto bones = bonesInWalkOrder(*library->models[0]);
    RecordedMotion motion;
    std::string problem;
    ASSERT_TRUE(recordAnimation(figure, "Wave", bones, Step, 1.0, motion, problem)) << problem;
    EXPECT_TRUE(motion.keyTimes.empty());
    tinygltf::Model gltf;
    GltfExportSummary summary;
    ASSERT_TRUE(exportGltf(*library->models[0], "Arm", {motion}, gltf, summary, problem))
        << problem;
    EXPECT_TRUE(gltf.animations.empty());
    EXPECT_EQ(summary.warnings,
              std::vector<std::string>{"animation 'Wave' plays no frame: not written"});
    // A motion recorded for other bones is refused rather than read past its end.
    motion.keyTimes = {0.0f};
    EXPECT_FALSE(exportGltf(*library->models[0], "Arm", {motion}, gltf, summary, problem));
    EXPECT_EQ(problem, "animation 'Wave' was not recorded for this model's bones");
}

TEST(RecordAnimation, RefusesADurationThatWouldNeverOrTooLateExpire) {
    for (const float duration : {std::numeric_limits<float>::quiet_NaN(), 1e9f, 2000.0f}) {
        auto library = makeArmLibrary();
        library->animations[0]->header->duration = duration;
        Figure figure(library.get());
        RecordedMotion motion;
        std::string problem;
        EXPECT_FALSE(recordAnimation(figure, "Wave", bonesInWalkOrder(*library->models[0]), Step,
                                     1.0, motion, problem))
            << duration;
        EXPECT_NE(problem.find("more frames than an export records"), std::string::npos);
        EXPECT_TRUE(figure.playing.empty());
    }
}

TEST(KeysToKeep, DropsOnlyTheInsideOfRunsOfBitEqualKeys) {
    EXPECT_EQ(keysToKeep({1, 1, 1, 1, 2, 3, 3, 3}, 1), (std::vector<std::size_t>{0, 3, 4, 5, 7}));
    // Collinear but unequal keys stay: clients round their interpolation differently.
    EXPECT_EQ(keysToKeep({0, 1, 2, 3}, 1), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(keysToKeep({0.0f, -0.0f, 0.0f}, 1), (std::vector<std::size_t>{0, 1, 2}));
    // A key is equal only when every component is.
    EXPECT_EQ(keysToKeep({1, 2, 1, 2, 1, 3}, 2), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(keysToKeep({5, 5, 5, 5}, 2), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(keysToKeep({7}, 1), (std::vector<std::size_t>{0}));
}

}  // namespace
}  // namespace vorel
