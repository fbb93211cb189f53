// The synthetic dancer: a bone chain over a quad strip, and curve dances for it.
#include "tests/support/synthetic_dances.h"

#include <algorithm>
#include <cmath>

#include "assets/load_animation.h"
#include "math/hash_name.h"
#include "tests/support/runtime_test_models.h"

namespace vorel::test_support {

namespace {

constexpr int KeysPerChannel = 6;

std::string boneName(int bone) {
    return "bone" + std::to_string(bone);
}

// A bounded, irregular value for key k of channel c of bone b.
float keyValue(int seed, int bone, int channel, int key) {
    const float base = channel >= 3 && channel <= 5 ? 1.0f : (channel == 9 ? 2.0f : 0.0f);
    return base + 0.5f * std::sin(static_cast<float>(seed * 31 + bone * 7 + channel * 3 + key));
}

}  // namespace

std::unique_ptr<ModelData> makeSyntheticDancer(int boneCount) {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Face> faces;
    for (int i = 0; i <= boneCount; ++i) {
        const auto z = static_cast<float>(i);
        positions.emplace_back(-1.0f, 0.0f, z);
        positions.emplace_back(1.0f, 0.0f, z);
        normals.emplace_back(0.0f, 1.0f, 0.0f);
    }
    for (int i = 0; i < boneCount; ++i) {
        faces.push_back(makeFace({2 * i, 2 * i + 1, 2 * i + 3, 2 * i + 2}, {i, i, i + 1, i + 1}));
    }
    std::unique_ptr<BoneData> root;
    BoneData* parent = nullptr;
    for (int i = 0; i < boneCount; ++i) {
        const auto z = static_cast<float>(i);
        auto bone = makeBone(boneName(i), Vector3(0.0f, 0.0f, z), Vector3(0.0f, 0.0f, z + 1.0f),
                             Vector3(0.0f, 1.0f, z), {2 * i + 2, 2 * i + 3});
        BoneData* made = bone.get();
        if (parent) {
            parent->firstChild = std::move(bone);
        } else {
            root = std::move(bone);
        }
        parent = made;
    }
    return makeModel(std::move(positions), std::move(normals), std::move(faces), std::move(root));
}

std::unique_ptr<ModelData> makeSyntheticWeightedDancer(int boneCount) {
    auto model = makeSyntheticDancer(boneCount);
    BoneData* bone = model->rootBone.get();
    for (int i = 0; bone != nullptr; ++i, bone = bone->firstChild.get()) {
        if (i == 0) continue;
        for (const std::int32_t vertex : bone->vertices) {
            WeightedVertex weighted;
            weighted.vertex = vertex;
            const int count = std::min(i + 1, 2 + vertex % 3);
            weighted.influences.count = count;
            for (int k = 0; k < count; ++k) {
                weighted.influences.influences[k] = {i - k, 1.0f / static_cast<float>(count)};
            }
            model->weightedVertices.push_back(weighted);
        }
        bone->vertices.clear();
    }
    model->header->version = WeightedModelVersion;
    return model;
}

std::unique_ptr<AnimationData> makeSyntheticDance(int boneCount, float duration, int seed) {
    std::vector<TrackData> tracks;
    for (int bone = 0; bone < boneCount; ++bone) {
        TrackData track;
        track.name = boneName(bone);
        track.nameHash = hashName(track.name);
        for (int c = 0; c < ChannelCount; ++c) {
            std::vector<Keyframe>& keys = track.channels[static_cast<std::size_t>(c)];
            for (int k = 0; k < KeysPerChannel; ++k) {
                const float time = duration * static_cast<float>(k) / (KeysPerChannel - 1);
                keys.push_back(makeKey(time, keyValue(seed, bone, c, k),
                                       static_cast<SegmentMode>((k + c + seed) % 3 == 0 ? 1 : 2)));
            }
            computeTangents(keys);
        }
        tracks.push_back(std::move(track));
    }
    return makeAnimation(duration, std::move(tracks));
}

}  // namespace vorel::test_support
