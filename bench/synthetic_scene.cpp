// The synthetic grid model, its bone tree and curve dances, passed through encode and load.
#include "bench/synthetic_scene.h"

#include <cmath>
#include <vector>

#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "assets/save_animation.h"
#include "assets/save_model.h"

namespace vorel {

namespace {

constexpr int GridColumns = 100;
// Each animation lasts this long (1,000 frames), its keys spread evenly over it.
constexpr float DanceDuration = 10.0f;
constexpr int KeysPerChannel = 12;
// Curve segments; bit 0 set: the loader computes the tangents.
const std::uint8_t CurveKeyFlags = keyFlags(SegmentMode::Curve, false);

std::string boneName(int bone) {
    return "bone" + std::to_string(bone);
}

void addGrid(ModelData& model, int vertexCount) {
    const int rows = vertexCount / GridColumns;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < GridColumns; ++column) {
            const auto x = static_cast<float>(column) * 0.02f;
            const auto y = static_cast<float>(row) * 0.02f;
            model.positions.emplace_back(x, y, 0.1f * std::sin(x + y));
            model.normals.emplace_back(0.0f, 0.6f, 0.8f);
        }
    }
    for (int row = 0; row + 1 < rows; ++row) {
        for (int column = 0; column + 1 < GridColumns; ++column) {
            const int corner = row * GridColumns + column;
            Face face;
            const std::int32_t corners[4] = {corner, corner + 1, corner + GridColumns + 1,
                                             corner + GridColumns};
            for (int k = 0; k < 4; ++k) {
                face.positionIndices[k] = corners[k];
                face.normalIndices[k] = corners[k];
            }
            model.faces.push_back(face);
        }
    }
}

// Bone k > 0 hangs under bone (k - 1) / 3; bone k moves the k-th of boneCount equal blocks.
std::unique_ptr<BoneData> makeBoneTree(int boneCount, int vertexCount) {
    std::vector<std::unique_ptr<BoneData>> bones;
    for (int k = 0; k < boneCount; ++k) {
        auto bone = std::make_unique<BoneData>();
        bone->name = boneName(k);
        bone->head = Vector3(0.1f * static_cast<float>(k), 0.0f, 0.0f);
        bone->tail = Vector3(bone->head.x, 0.0f, 0.5f);
        bone->up = Vector3(bone->head.x, 1.0f, 0.0f);
        const auto first = static_cast<long long>(k) * vertexCount / boneCount;
        const auto last = static_cast<long long>(k + 1) * vertexCount / boneCount;
        for (long long v = first; v < last; ++v) bone->vertices.push_back(static_cast<int>(v));
        bones.push_back(std::move(bone));
    }
    // From the last bone down, so every chain is complete before its head is linked.
    for (int k = boneCount - 1; k > 0; --k) {
        const int parent = (k - 1) / 3;
        if (k + 1 < boneCount && (k + 1 - 1) / 3 == parent) {
            bones[static_cast<std::size_t>(k)]->nextSibling =
                std::move(bones[static_cast<std::size_t>(k + 1)]);
        }
        if (k == 3 * parent + 1) {
            bones[static_cast<std::size_t>(parent)]->firstChild =
                std::move(bones[static_cast<std::size_t>(k)]);
        }
    }
    return std::move(bones.front());
}

std::unique_ptr<ModelData> makeModel(int vertexCount, int boneCount, LoadError* error) {
    ModelData model;
    // A model file holds at least one material.
    model.materials.emplace_back();
    addGrid(model, vertexCount);
    model.rootBone = makeBoneTree(boneCount, vertexCount);
    return loadModelFromBytes(encodeModel(model), "synthetic.ply", error);
}

// A bounded, irregular value around the channel's neutral value.
float keyValue(int dance, int bone, int channel, int key) {
    const float neutral = channel >= 3 && channel <= 5 ? 1.0f : (channel == 9 ? 2.0f : 0.0f);
    return neutral + 0.3f * std::sin(static_cast<float>(dance * 31 + bone * 7 + channel * 3 + key));
}

std::unique_ptr<AnimationData> makeDance(int dance, int boneCount, LoadError* error) {
    AnimationData animation;
    animation.header = std::make_unique<AnimationHeader>();
    animation.header->magic = AnimationMagic;
    animation.header->duration = DanceDuration;
    for (int bone = 0; bone < boneCount; ++bone) {
        TrackData track;
        track.name = boneName(bone);
        for (int c = 0; c < ChannelCount; ++c) {
            for (int k = 0; k < KeysPerChannel; ++k) {
                Keyframe key;
                key.time = DanceDuration * static_cast<float>(k) / (KeysPerChannel - 1);
                key.value = keyValue(dance, bone, c, k);
                key.flags = CurveKeyFlags;
                track.channels[static_cast<std::size_t>(c)].push_back(key);
            }
        }
        animation.tracks.push_back(std::move(track));
    }
    return loadAnimationFromBytes(encodeAnimation(animation), syntheticDanceName(dance), error);
}

}  // namespace

std::string syntheticDanceName(int index) {
    return "dance" + std::to_string(index);
}

std::unique_ptr<AssetLibrary> makeSyntheticLibrary(int vertexCount, int boneCount,
                                                   int animationCount, LoadError* error) {
    auto library = std::make_unique<AssetLibrary>();
    auto model = makeModel(vertexCount, boneCount, error);
    if (!model) return nullptr;
    library->addModel(std::move(model), "Synthetic");
    for (int dance = 0; dance < animationCount; ++dance) {
        auto animation = makeDance(dance, boneCount, error);
        if (!animation) return nullptr;
        library->addAnimation(std::move(animation), syntheticDanceName(dance));
    }
    return library;
}

}  // namespace vorel
