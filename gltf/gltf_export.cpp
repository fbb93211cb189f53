// Assembling the glTF document: buffers, mesh, skin, joint nodes, animations and material.
#include "gltf/gltf_export.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "anim/record_motion.h"
#include "assets/printable_name.h"
#include "gltf/export_mesh.h"
#include "gltf/export_skeleton.h"
#include "gltf/gltf_buffer_writer.h"
#include "gltf/gltf_name_bytes.h"
#include "gltf/repeated_keys.h"

#ifndef VOREL_VERSION
#error "VOREL_VERSION must name the project version"
#endif

namespace vorel {

// With lighting on and no material set, the viewer draws GL's default material (diffuse 0.8,
// ambient 0.2, no specular) under its light (diffuse 0.75, 0.85, 0.9) and the default global
// ambient of 0.2: a face turned to the light shows 0.8 * light + 0.2 * 0.2 = (0.64, 0.72,
// 0.76) on screen. glTF base colours are linear, so the sRGB decoding of that is written.
const double ViewerBaseColour[4] = {0.3672, 0.4770, 0.5382, 1.0};

namespace {

// Node 0 is the mesh; joint k is node k + 1.
constexpr int MeshNode = 0;
int nodeOfJoint(std::size_t joint) {
    return static_cast<int>(joint) + 1;
}

std::string pluralCount(std::int64_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

void addMeshWarnings(const ExportMesh& mesh, GltfExportSummary& summary) {
    if (mesh.multiBoneVertices > 0) {
        summary.warnings.push_back(
            pluralCount(mesh.multiBoneVertices, "vertex") +
            " listed under more than one bone (the viewer moves them by each in turn): each is "
            "written under the last of its bones");
    }
    if (mesh.unboundVertices > 0) {
        summary.warnings.push_back(pluralCount(mesh.unboundVertices, "vertex") +
                                   " under no bone: they hang from the static root joint");
    }
    if (mesh.zeroNormals > 0) {
        summary.warnings.push_back(pluralCount(mesh.zeroNormals, "normal") +
                                   " of zero length: written as +Y");
    }
}

void addMaterial(tinygltf::Model& gltf) {
    tinygltf::Material material;
    material.name = "Vorel lit grey-blue";
    material.pbrMetallicRoughness.baseColorFactor.assign(ViewerBaseColour, ViewerBaseColour + 4);
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor = 1.0;
    // The viewer culls no faces, so their backs show too.
    material.doubleSided = true;
    gltf.materials.push_back(material);
}

void addMesh(const ExportMesh& mesh, const std::string& modelName, GltfBufferWriter& buffers,
             tinygltf::Model& gltf) {
    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.material = 0;
    const int position =
        buffers.addFloats(mesh.positions, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER, true);
    primitive.attributes["POSITION"] = position;
    primitive.attributes["NORMAL"] =
        buffers.addFloats(mesh.normals, TINYGLTF_TYPE_VEC3, TINYGLTF_TARGET_ARRAY_BUFFER, false);
    primitive.attributes["JOINTS_0"] =
        buffers.addUnsignedShorts(mesh.joints, TINYGLTF_TYPE_VEC4, TINYGLTF_TARGET_ARRAY_BUFFER);
    primitive.attributes["WEIGHTS_0"] =
        buffers.addFloats(mesh.weights, TINYGLTF_TYPE_VEC4, TINYGLTF_TARGET_ARRAY_BUFFER, false);
    primitive.indices = buffers.addUnsignedInts(mesh.indices, TINYGLTF_TYPE_SCALAR,
                                                TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    tinygltf::Mesh gltfMesh;
    gltfMesh.name = modelName;
    gltfMesh.primitives.push_back(primitive);
    gltf.meshes.push_back(gltfMesh);
}

void addJointNodes(const std::vector<ExportJoint>& joints, tinygltf::Model& gltf) {
    for (const ExportJoint& joint : joints) {
        tinygltf::Node node;
        node.name = joint.name;
        const TrsTransform& bind = joint.bindLocal;
        if (joint.parent >= 0) {
            node.translation = {bind.translation.x, bind.translation.y, bind.translation.z};
            node.rotation = {bind.rotation.x, bind.rotation.y, bind.rotation.z, bind.rotation.w};
        }
        gltf.nodes.push_back(node);
    }
    for (std::size_t joint = 1; joint < joints.size(); ++joint) {
        const auto parent =
            static_cast<std::size_t>(nodeOfJoint(static_cast<std::size_t>(joints[joint].parent)));
        gltf.nodes[parent].children.push_back(nodeOfJoint(joint));
    }
}

void addSkin(const std::vector<ExportJoint>& joints, GltfBufferWriter& buffers,
             tinygltf::Model& gltf) {
    tinygltf::Skin skin;
    skin.name = "Vorel bones";
    skin.skeleton = nodeOfJoint(0);
    std::vector<float> inverseBinds;
    for (std::size_t joint = 0; joint < joints.size(); ++joint) {
        skin.joints.push_back(nodeOfJoint(joint));
        inverseBinds.insert(inverseBinds.end(), joints[joint].inverseBind,
                            joints[joint].inverseBind + 16);
    }
    skin.inverseBindMatrices = buffers.addFloats(inverseBinds, TINYGLTF_TYPE_MAT4, 0, false);
    gltf.skins.push_back(skin);
}

// One animation's channels under construction: the key times written once and shared by every
// channel that keeps all of its keys.
class AnimationWriter {
  public:
    AnimationWriter(const RecordedMotion& motion, GltfBufferWriter& buffers, std::size_t& keyCount)
        : motion_(motion), buffers_(buffers), keyCount_(keyCount) {
        animation_.name = motion.name;
    }

    // A channel of `components` floats per frame for one node's path.
    void addChannel(int node, const char* path, const std::vector<float>& values,
                    std::size_t components) {
        std::vector<std::size_t> kept;
        if (motion_.mayDropKeys) kept = keysToKeep(values, components);
        const bool all = !motion_.mayDropKeys || kept.size() == motion_.keyTimes.size();
        tinygltf::AnimationSampler sampler;
        sampler.interpolation = "LINEAR";
        if (all) {
            sampler.input = allTimes();
            sampler.output = buffers_.addFloats(values, typeOf(components), 0, false);
            keyCount_ += motion_.keyTimes.size();
        } else {
            std::vector<float> times, keptValues;
            for (const std::size_t key : kept) {
                times.push_back(motion_.keyTimes[key]);
                keptValues.insert(
                    keptValues.end(),
                    values.begin() + static_cast<std::ptrdiff_t>(key * components),
                    values.begin() + static_cast<std::ptrdiff_t>((key + 1) * components));
            }
            sampler.input = buffers_.addFloats(times, TINYGLTF_TYPE_SCALAR, 0, true);
            sampler.output = buffers_.addFloats(keptValues, typeOf(components), 0, false);
            keyCount_ += kept.size();
        }
        animation_.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation_.samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        animation_.channels.push_back(channel);
    }

    tinygltf::Animation& animation() { return animation_; }

  private:
    static int typeOf(std::size_t components) {
        return components == 4 ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3;
    }
    int allTimes() {
        if (allTimes_ < 0)
            allTimes_ = buffers_.addFloats(motion_.keyTimes, TINYGLTF_TYPE_SCALAR, 0, true);
        return allTimes_;
    }

    const RecordedMotion& motion_;
    GltfBufferWriter& buffers_;
    std::size_t& keyCount_;
    tinygltf::Animation animation_;
    int allTimes_ = -1;
};

template <typename Values>
bool allFinite(const Values& values, std::size_t from = 0) {
    return std::all_of(std::begin(values) + static_cast<std::ptrdiff_t>(from), std::end(values),
                       [](double value) { return std::isfinite(value); });
}

bool isFinite(const BoneTransform& t) {
    const float values[10] = {t.translation.x, t.translation.y, t.translation.z, t.scale.x,
                              t.scale.y,       t.scale.z,       t.rotation.x,    t.rotation.y,
                              t.rotation.z,    t.rotation.w};
    return allFinite(values);
}

// A model file may hold any bits in a bone's head, tail and up; glTF holds only finite
// numbers, so a bone whose rest frame is not finite cannot be written.
bool checkJointsFinite(const std::vector<ExportJoint>& joints, std::string& problem) {
    for (const ExportJoint& joint : joints) {
        const TrsTransform& bind = joint.bindLocal;
        const double values[10] = {bind.translation.x, bind.translation.y, bind.translation.z,
                                   bind.rotation.x,    bind.rotation.y,    bind.rotation.z,
                                   bind.rotation.w,    bind.scale.x,       bind.scale.y,
                                   bind.scale.z};
        if (!allFinite(values) || !allFinite(joint.inverseBind)) {
            problem =
                "bone '" + printableName(joint.name) + "': its rest frame is not a finite number";
            return false;
        }
    }
    return true;
}

// The joint's translation, rotation and scale keys over every frame; rotations keep to one
// hemisphere so that interpolating between frames takes the short way, as the frames do.
bool addJointChannels(const RecordedMotion& motion, const std::vector<ExportJoint>& joints,
                      std::size_t bone, AnimationWriter& writer, std::string& problem) {
    const std::size_t boneCount = joints.size() - 1;
    const ExportJoint& joint = joints[bone + 1];
    std::vector<float> translations, rotations, scales;
    bool scaled = !motion.mayDropKeys;
    Quaternion4d previous = joint.bindLocal.rotation;
    for (std::size_t frame = 0; frame < motion.keyTimes.size(); ++frame) {
        const BoneTransform& transform = motion.transforms[frame * boneCount + bone];
        if (!isFinite(transform)) {
            problem = "animation '" + printableName(motion.name) + "': bone '" +
                      printableName(joint.name) + "' at key " + std::to_string(frame) +
                      " is not a finite number";
            return false;
        }
        const TrsTransform local = nodeLocalFor(joint, transform);
        Quaternion4d rotation = local.rotation;
        if (rotation.x * previous.x + rotation.y * previous.y + rotation.z * previous.z +
                rotation.w * previous.w <
            0.0) {
            rotation = {-rotation.x, -rotation.y, -rotation.z, -rotation.w};
        }
        previous = rotation;
        translations.insert(translations.end(), {static_cast<float>(local.translation.x),
                                                 static_cast<float>(local.translation.y),
                                                 static_cast<float>(local.translation.z)});
        rotations.insert(rotations.end(),
                         {static_cast<float>(rotation.x), static_cast<float>(rotation.y),
                          static_cast<float>(rotation.z), static_cast<float>(rotation.w)});
        if (!allFinite(translations, 3 * frame) || !allFinite(rotations, 4 * frame)) {
            problem = "animation '" + printableName(motion.name) + "': bone '" +
                      printableName(joint.name) + "' at key " + std::to_string(frame) +
                      " moves beyond what a float holds";
            return false;
        }
        scales.insert(scales.end(), {transform.scale.x, transform.scale.y, transform.scale.z});
        scaled = scaled || transform.scale.x != 1.0f || transform.scale.y != 1.0f ||
                 transform.scale.z != 1.0f;
    }
    const int node = nodeOfJoint(bone + 1);
    writer.addChannel(node, "translation", translations, 3);
    writer.addChannel(node, "rotation", rotations, 4);
    // The node's own scale is 1, so a channel holding only 1 changes nothing.
    if (scaled) writer.addChannel(node, "scale", scales, 3);
    return true;
}

bool addAnimation(const RecordedMotion& motion, const std::vector<ExportJoint>& joints,
                  GltfBufferWriter& buffers, tinygltf::Model& gltf, GltfExportSummary& summary,
                  std::string& problem) {
    if (motion.transforms.size() != motion.keyTimes.size() * (joints.size() - 1)) {
        problem = "animation '" + printableName(motion.name) +
                  "' was not recorded for this model's bones";
        return false;
    }
    if (motion.keyTimes.empty()) {
        summary.warnings.push_back("animation '" + printableName(motion.name) +
                                   "' plays no frame: not written");
        return true;
    }
    if (!motion.namesBone || joints.size() == 1) {
        // glTF needs a channel in every animation: the static root stays put for the length.
        summary.warnings.push_back("animation '" + printableName(motion.name) +
                                   "' names no bone of the model: written with no bone channels");
        RecordedMotion ends;
        ends.name = motion.name;
        ends.keyTimes = {motion.keyTimes.front()};
        if (motion.keyTimes.size() > 1) ends.keyTimes.push_back(motion.keyTimes.back());
        AnimationWriter still(ends, buffers, summary.keyCount);
        still.addChannel(nodeOfJoint(0), "translation",
                         std::vector<float>(3 * ends.keyTimes.size(), 0.0f), 3);
        gltf.animations.push_back(still.animation());
        return true;
    }
    AnimationWriter writer(motion, buffers, summary.keyCount);
    for (std::size_t bone = 0; bone + 1 < joints.size(); ++bone) {
        if (!addJointChannels(motion, joints, bone, writer, problem)) return false;
    }
    gltf.animations.push_back(writer.animation());
    return true;
}

}  // namespace

bool exportGltf(const ModelData& model, const std::string& modelName,
                const std::vector<RecordedMotion>& motions, tinygltf::Model& gltf,
                GltfExportSummary& summary, std::string& problem) {
    gltf = tinygltf::Model{};
    summary = GltfExportSummary{};
    const std::vector<const BoneData*> bones = bonesInWalkOrder(model);
    ExportMesh mesh;
    if (!buildExportMesh(model, bones, mesh, problem)) return false;
    if (mesh.indices.empty()) {
        problem = "the model has no face with three distinct corners: glTF holds no empty mesh";
        return false;
    }
    const std::vector<ExportJoint> joints = exportJoints(model.rootBone.get(), bones);
    if (!checkJointsFinite(joints, problem)) return false;
    addMeshWarnings(mesh, summary);

    gltf.asset.version = "2.0";
    gltf.asset.generator = std::string("Vorel ") + VOREL_VERSION + " (vorel-export)";
    GltfBufferWriter buffers(gltf);
    addMaterial(gltf);
    addMesh(mesh, modelName, buffers, gltf);
    tinygltf::Node meshNode;
    meshNode.name = modelName;
    meshNode.mesh = 0;
    meshNode.skin = 0;
    gltf.nodes.push_back(meshNode);
    addJointNodes(joints, gltf);
    addSkin(joints, buffers, gltf);
    for (const RecordedMotion& motion : motions) {
        if (!addAnimation(motion, joints, buffers, gltf, summary, problem)) return false;
    }
    tinygltf::Scene scene;
    scene.name = modelName;
    scene.nodes = {MeshNode, nodeOfJoint(0)};
    gltf.scenes.push_back(scene);
    gltf.defaultScene = 0;
    writeNamesAsUtf8(gltf);

    summary.vertexCount = mesh.sourcePositions.size();
    summary.triangleCount = mesh.indices.size() / 3;
    summary.jointCount = joints.size();
    summary.animationCount = gltf.animations.size();
    return true;
}

}  // namespace vorel
