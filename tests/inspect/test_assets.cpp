// Builders of the small asset files the vorel-inspect tests run on.
#include "tests/inspect/test_assets.h"

#include <stdexcept>

#include "assets/save_animation.h"
#include "assets/save_model.h"
#include "math/hash_name.h"

namespace vorel {

std::unique_ptr<BoneData> makeBone(const std::string& name, const Vector3& head,
                                   const Vector3& tail, const std::vector<std::int32_t>& vertices) {
    auto bone = std::make_unique<BoneData>();
    bone->name = name;
    bone->nameHash = hashName(name);
    bone->head = head;
    bone->tail = tail;
    bone->up = Vector3(head.x, head.y + 1.0f, head.z);
    bone->vertices = vertices;
    return bone;
}

std::unique_ptr<ModelData> makeOneBoneModel() {
    auto model = std::make_unique<ModelData>();
    model->materials.resize(1);
    model->positions = {
        {1.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 1.0f}};
    model->normals = {{0.0f, -1.0f, 0.0f}};
    Face face;
    for (int k = 0; k < 4; ++k) face.positionIndices[k] = k;
    model->faces.push_back(face);
    model->rootBone =
        makeBone("arm", Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, 0.0f, 1.0f), {0, 1, 2, 3});
    return model;
}

TrackData makeStillTrack(const std::string& name, const Vector3& translation, const Vector3& scale,
                         const float rotation[4]) {
    TrackData track;
    track.name = name;
    track.nameHash = hashName(name);
    const float values[ChannelCount] = {translation.x, translation.y, translation.z, scale.x,
                                        scale.y,       scale.z,       rotation[0],   rotation[1],
                                        rotation[2],   rotation[3]};
    for (int c = 0; c < ChannelCount; ++c)
        track.channels[c] = {makeKey(0.0f, values[c], SegmentMode::Linear)};
    return track;
}

TrackData makeRestTrack(const std::string& name) {
    const float noTurn[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    return makeStillTrack(name, Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 1.0f, 1.0f), noTurn);
}

std::string writeModel(const std::string& folder, const std::string& name, const ModelData& model) {
    const std::string path = folder + "/" + name;
    if (!saveModel(model, path)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string writeAnimation(const std::string& folder, const std::string& name,
                           const AnimationData& animation) {
    const std::string path = folder + "/" + name;
    if (!saveAnimation(animation, path)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string writeManifest(const std::string& folder, const std::string& name,
                          const std::vector<ManifestEntry>& models,
                          const std::vector<ManifestEntry>& animations) {
    const std::string path = folder + "/" + name;
    if (!saveManifest(path, models, animations)) throw std::runtime_error("cannot write " + path);
    return path;
}

}  // namespace vorel
