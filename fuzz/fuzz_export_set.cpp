// Fuzz target for the export: an odd set (bone, model and animation names of any bytes, empty
// or repeated; tracks naming no bone; dances of zero length; keys anywhere) is recorded on the
// runtime's figure and exported to a GLB, or refused with one line. What is exported must import
// back, with values Vorel's loaders read, and with every bone name restored byte for byte when
// the names were distinct.
#include <fuzzer/FuzzedDataProvider.h>
#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "anim/figure.h"
#include "anim/record_motion.h"
#include "assets/asset_library.h"
#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "convert/affine_transform.h"
#include "gltf/export_skeleton.h"
#include "gltf/gltf_export.h"
#include "gltf/import_gltf.h"
#include "math/hash_name.h"
#include "tests/support/box_figure.h"
#include "tests/support/runtime_test_models.h"

namespace {

using namespace vorel;

constexpr int MaxExtraBones = 3;
constexpr int MaxAnimations = 4;
constexpr std::size_t MaxNameBytes = 24;

std::string oddName(FuzzedDataProvider& input, const std::vector<std::string>& earlier) {
    if (!earlier.empty() && input.ConsumeBool())
        return earlier[input.ConsumeIntegralInRange<std::size_t>(0, earlier.size() - 1)];
    return input.ConsumeRandomLengthString(MaxNameBytes);
}

// The box figure's one bone renamed, with a chain of vertex-free bones above its top.
std::unique_ptr<ModelData> oddModel(FuzzedDataProvider& input, std::vector<std::string>& names) {
    std::unique_ptr<ModelData> model = test_support::makeBoxModel();
    BoneData* bone = model->rootBone.get();
    bone->name = oddName(input, names);
    names.push_back(bone->name);
    const int extraBones = input.ConsumeIntegralInRange(0, MaxExtraBones);
    for (int i = 1; i <= extraBones; ++i) {
        const float height = 280.0f + 40.0f * static_cast<float>(i);
        bone->firstChild =
            test_support::makeBone(oddName(input, names), Vector3(0, height, 0),
                                   Vector3(0, height + 40.0f, 0), Vector3(0, height, 100.0f));
        bone = bone->firstChild.get();
        names.push_back(bone->name);
    }
    return loadModelFromBytes(encodeModel(*model), "odd.ply");
}

float oddDuration(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return 0.0f;
        case 1:
            return 1e-6f;
        default:
            return input.ConsumeFloatingPointInRange(0.0f, 3.0f);
    }
}

std::unique_ptr<AnimationData> oddAnimation(FuzzedDataProvider& input,
                                            const std::vector<std::string>& boneNames) {
    const float duration = oddDuration(input);
    std::vector<TrackData> tracks(input.ConsumeIntegralInRange<std::size_t>(0, 4));
    for (TrackData& track : tracks) {
        track.name = oddName(input, boneNames);
        for (std::vector<Keyframe>& keys : track.channels) {
            // The last key at the duration; a dance of zero length gives keys at one time,
            // which the loader refuses.
            const int count = input.ConsumeIntegralInRange(1, 3);
            for (int k = 0; k < count; ++k) {
                const float time =
                    count == 1 ? 0.0f
                               : duration * static_cast<float>(k) / static_cast<float>(count - 1);
                const auto mode = input.ConsumeBool() ? SegmentMode::Linear : SegmentMode::Constant;
                keys.push_back(test_support::makeKey(
                    time, input.ConsumeFloatingPointInRange(-1000.0f, 1000.0f), mode));
            }
        }
    }
    return loadAnimationFromBytes(
        encodeAnimation(*test_support::makeAnimation(duration, std::move(tracks))), "odd.anim");
}

bool oneLine(const std::string& problem) {
    return !problem.empty() && problem.find('\n') == std::string::npos;
}

std::string glbBytes(const tinygltf::Model& gltf) {
    tinygltf::TinyGLTF writer;
    std::ostringstream stream;
    if (!writer.WriteGltfSceneToStream(&gltf, stream, false, true)) std::abort();
    return stream.str();
}

std::vector<std::string> boneNamesOf(const ModelData& model) {
    std::vector<std::string> names;
    for (const BoneData* bone : bonesInWalkOrder(model)) names.push_back(bone->name);
    return names;
}

// Every bone name comes back when none is empty (the importer names an unnamed joint after its
// node) and no two, the static root joint's included, share a name hash (the importer renames
// a joint whose hash is taken, since one track would drive both).
void checkBoneNamesRestored(const std::vector<std::string>& exported, const ModelData& imported) {
    std::set<std::uint32_t> hashes = {hashName(RootJointName)};
    for (const std::string& name : exported) {
        if (name.empty() || !hashes.insert(hashName(name)).second) return;
    }
    const std::vector<std::string> back = boneNamesOf(imported);
    for (const std::string& name : exported) {
        if (std::find(back.begin(), back.end(), name) != back.end()) continue;
        std::fprintf(stderr, "bone name not restored:");
        for (const unsigned char c : name) std::fprintf(stderr, " %02x", c);
        std::fprintf(stderr, "\nnames imported:");
        for (const std::string& other : back) std::fprintf(stderr, " '%s'", other.c_str());
        std::fprintf(stderr, "\n");
        std::abort();
    }
}

// Whether the model is one a person could make: every position and bone point within a
// million units of the origin, and every bone a length with its up point off that length.
// Beyond that (a model file may hold any bits) the import's arithmetic may leave what a float
// holds, or find no frame for a bone, which it refuses in one line.
bool ofEverydayShape(const ModelData& model) {
    constexpr double Reach = 1e6;
    constexpr double Least = 1e-3;
    const auto near = [](const Vector3& p) {
        return std::fabs(p.x) <= Reach && std::fabs(p.y) <= Reach && std::fabs(p.z) <= Reach;
    };
    if (!std::all_of(model.positions.begin(), model.positions.end(), near)) return false;
    for (const BoneData* bone : bonesInWalkOrder(model)) {
        if (!near(bone->head) || !near(bone->tail) || !near(bone->up)) return false;
        const Point3d along = difference(toPoint3d(bone->tail), toPoint3d(bone->head));
        const Point3d towardsUp = difference(toPoint3d(bone->up), toPoint3d(bone->head));
        if (length(along) < Least || length(cross(along, towardsUp)) < Least * length(along))
            return false;
    }
    return true;
}

void checkImportsBack(const std::string& glb, const ModelData& exported,
                      const std::vector<std::string>& boneNames) {
    ImportedSet imported;
    LoadError error;
    if (!importGltfBytes(glb, "exported.glb", ImportOptions{}, imported, error)) {
        if (!ofEverydayShape(exported) && oneLine(error.describe())) return;
        std::fprintf(stderr, "the export does not import: %s\n", error.describe().c_str());
        std::abort();
    }
    if (!loadModelFromBytes(encodeModel(*imported.model), "imported model", nullptr)) std::abort();
    for (const ImportedAnimation& animation : imported.animations) {
        if (!loadAnimationFromBytes(encodeAnimation(*animation.data), "imported animation",
                                    nullptr)) {
            std::abort();
        }
    }
    checkBoneNamesRestored(boneNames, *imported.model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> names;
    std::unique_ptr<ModelData> model = oddModel(input, names);
    if (model == nullptr) return 0;
    const std::vector<std::string> boneNames = boneNamesOf(*model);
    const std::string modelName = oddName(input, names);
    AssetLibrary library;
    library.addModel(std::move(model), modelName);
    std::vector<std::string> animationNames;
    const int animations = input.ConsumeIntegralInRange(0, MaxAnimations);
    for (int i = 0; i < animations; ++i) {
        std::unique_ptr<AnimationData> animation = oddAnimation(input, boneNames);
        if (animation == nullptr) return 0;
        animationNames.push_back(oddName(input, animationNames));
        library.addAnimation(std::move(animation), animationNames.back());
    }
    Figure figure(&library);
    const ModelData& shown = *library.models.front();
    const std::vector<const BoneData*> bones = bonesInWalkOrder(shown);
    std::vector<RecordedMotion> motions;
    std::string problem;
    for (const std::string& name : animationNames) {
        RecordedMotion motion;
        if (!recordAnimation(figure, name, bones, 0.01f, 1.0, motion, problem)) {
            if (!oneLine(problem)) std::abort();
            return 0;
        }
        motions.push_back(std::move(motion));
    }
    tinygltf::Model gltf;
    GltfExportSummary summary;
    if (!exportGltf(shown, modelName, motions, gltf, summary, problem)) {
        if (!oneLine(problem)) std::abort();
        return 0;
    }
    checkImportsBack(glbBytes(gltf), shown, boneNames);
    return 0;
}
