// The box figure: eight corners, six flat faces, one bone, and a one-track slide animation.
#include "tests/support/box_figure.h"

#include <array>

#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_manifest.h"
#include "assets/save_model.h"

namespace vorel::test_support {

namespace {

constexpr float HalfWidth = 60.0f;
constexpr float Bottom = 120.0f;
constexpr float Top = 280.0f;

void addFace(ModelData& model, std::array<int, 4> corners, int normal) {
    Face face;
    for (int k = 0; k < 4; ++k) {
        face.positionIndices[k] = corners[static_cast<std::size_t>(k)];
        face.normalIndices[k] = normal;
    }
    model.faces.push_back(face);
}

std::unique_ptr<BoneData> makeBodyBone(int positionCount) {
    auto bone = std::make_unique<BoneData>();
    bone->name = "body";
    bone->head = Vector3(0.0f, Bottom, 0.0f);
    bone->tail = Vector3(0.0f, Top, 0.0f);
    bone->up = Vector3(0.0f, Bottom, 100.0f);
    for (int i = 0; i < positionCount; ++i) {
        bone->vertices.push_back(i);
    }
    return bone;
}

Keyframe linearKey(float time, float value) {
    Keyframe key;
    key.time = time;
    key.value = value;
    // Bit 0: no tangents stored; bits 1-2 = 1: linear segment.
    key.flags = 1 | (1 << 1);
    return key;
}

}  // namespace

std::unique_ptr<ModelData> makeBoxModel() {
    ModelData model;
    model.header = std::make_unique<ModelHeader>();
    model.header->magic[0] = 'P';
    model.header->magic[1] = 'L';
    model.header->magic[2] = 'Y';
    model.header->version = 2;
    model.materials.resize(1);
    // Corner i: bit 0 picks +X, bit 1 picks the top, bit 2 picks +Z.
    for (int i = 0; i < 8; ++i) {
        model.positions.emplace_back((i & 1) ? HalfWidth : -HalfWidth, (i & 2) ? Top : Bottom,
                                     (i & 4) ? HalfWidth : -HalfWidth);
    }
    model.normals = {Vector3(-1, 0, 0), Vector3(1, 0, 0),  Vector3(0, -1, 0),
                     Vector3(0, 1, 0),  Vector3(0, 0, -1), Vector3(0, 0, 1)};
    // Counter-clockwise seen from outside.
    addFace(model, {0, 4, 6, 2}, 0);
    addFace(model, {1, 3, 7, 5}, 1);
    addFace(model, {0, 1, 5, 4}, 2);
    addFace(model, {2, 6, 7, 3}, 3);
    addFace(model, {0, 2, 3, 1}, 4);
    addFace(model, {4, 5, 7, 6}, 5);
    model.rootBone = makeBodyBone(static_cast<int>(model.positions.size()));
    return loadModelFromBytes(encodeModel(model), "box.ply");
}

std::unique_ptr<AnimationData> makeSlideAnimation(float duration) {
    AnimationData animation;
    animation.header = std::make_unique<AnimationHeader>();
    animation.header->magic = 0x12345679;
    animation.header->duration = duration;
    animation.header->trackCount = 1;
    TrackData track;
    track.name = "body";
    // Translation x slides; every other channel holds its neutral value.
    const std::array<float, ChannelCount> neutral = {0, 0, 0, 1, 1, 1, 0, 0, 0, 1};
    for (std::size_t channel = 0; channel < ChannelCount; ++channel) {
        track.channels[channel].push_back(linearKey(0.0f, neutral[channel]));
    }
    track.channels[0].push_back(linearKey(duration, 50.0f));
    animation.tracks.push_back(track);
    return loadAnimationFromBytes(encodeAnimation(animation), "slide.anim");
}

std::unique_ptr<AssetLibrary> makeBoxLibrary() {
    auto library = std::make_unique<AssetLibrary>();
    library->addModel(makeBoxModel(), "box");
    library->addAnimation(makeSlideAnimation(0.5f), "Cancan");
    return library;
}

const char* const SevenDanceNames[7] = {"Cancan",  "Joyous Walk", "Strut", "HighKick",
                                        "MidKick", "LowKick",     "Salute"};

std::unique_ptr<AssetLibrary> makeSevenDanceBoxLibrary() {
    auto library = std::make_unique<AssetLibrary>();
    library->addModel(makeBoxModel(), "box");
    for (const char* name : SevenDanceNames) library->addAnimation(makeSlideAnimation(1.0f), name);
    return library;
}

bool writeBoxSet(const std::string& folder) {
    std::unique_ptr<ModelData> model = makeBoxModel();
    std::unique_ptr<AnimationData> slide = makeSlideAnimation(0.5f);
    return model != nullptr && slide != nullptr && saveModel(*model, folder + "/box.ply") &&
           saveAnimation(*slide, folder + "/slide.anim") &&
           saveManifest(folder + "/vorel.txt", {{"box", "box.ply"}}, {{"Cancan", "slide.anim"}});
}

}  // namespace vorel::test_support
