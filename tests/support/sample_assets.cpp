// The sample model and animation, built field by field as a tool would before saving them.
#include "tests/support/sample_assets.h"

#include <utility>

namespace vorel::test_support {

namespace {

std::unique_ptr<BoneData> makeBone(const char* name, Vector3 head, Vector3 tail,
                                   std::vector<std::int32_t> vertices) {
    auto bone = std::make_unique<BoneData>();
    bone->name = name;
    bone->head = head;
    bone->tail = tail;
    bone->up = Vector3(head.x, head.y + 1.0f, head.z);
    bone->vertices = std::move(vertices);
    return bone;
}

Face makeFace(std::int32_t p0, std::int32_t p1, std::int32_t p2, std::int32_t p3,
              std::int32_t normal, std::uint32_t leadingWord) {
    Face face;
    face.leadingWord = leadingWord;
    const std::int32_t positions[4] = {p0, p1, p2, p3};
    for (int k = 0; k < 4; ++k) {
        face.positionIndices[k] = positions[k];
        face.normalIndices[k] = normal;
    }
    return face;
}

FaceLayer makeLayer(std::uint32_t seed) {
    FaceLayer layer;
    for (std::uint32_t i = 0; i < 4; ++i) layer.fields[i] = seed + i;
    layer.bytes[0] = 7;
    layer.bytes[1] = 200;
    const float coords[8] = {0.0f, 0.75f, 1.0f, 0.75f, 1.0f, 0.5f, 0.0f, 0.25f};
    for (int i = 0; i < 8; ++i) layer.texCoords[i] = coords[i];
    return layer;
}

Keyframe makeKey(float time, float value, std::uint8_t flags) {
    Keyframe key;
    key.time = time;
    key.value = value;
    key.flags = flags;
    if ((flags & 0x01) == 0) {
        key.outTangent = Tangent{0.25f, -0.5f};
        key.inTangent = Tangent{-0.25f, 0.5f};
    }
    return key;
}

}  // namespace

std::unique_ptr<ModelData> makeSampleModel() {
    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>(ModelHeader{{'P', 'L', 'Y', 0}, 2});
    MaterialRecord material;
    material.firstColour[1] = static_cast<float>(128 / 255.0);
    material.firstColour[2] = 1.0f;
    material.firstScalar = 0xDEADBEEF;
    material.secondColour[0] = 1.0f;
    for (std::uint32_t i = 0; i < 8; ++i) material.fields[i] = i * 3;
    model->materials = {material, MaterialRecord{}};
    model->namedRecords = {NamedRecord{"socket", {1, 65535}}, NamedRecord{"", {0, 42}}};
    model->positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}};
    model->normals = {{0, 0, 1}, {0, -1, 0}, {0.5f, 0.5f, 0.0f}};
    model->faces = {makeFace(0, 1, 2, 3, 0, 0x01020304), makeFace(0, 1, 5, 4, 1, 0)};
    model->faces[0].layers = {makeLayer(10), makeLayer(20)};

    model->rootBone = makeBone("root", {0, 0, 0}, {0, 0, 1}, {0, 1});
    BoneData& child = *(model->rootBone->firstChild = makeBone("spine", {0, 0, 1}, {0, 0, 2}, {}));
    child.firstChild = makeBone("head", {0, 0, 2}, {0, 0, 3}, {2, 3});
    child.nextSibling = makeBone("leg", {0, 0, 0}, {1, 0, 0}, {4, 5, 4});
    return model;
}

std::unique_ptr<ModelData> makeSampleWeightedModel() {
    auto model = makeSampleModel();
    model->header->version = WeightedModelVersion;
    BoneData& spine = *model->rootBone->firstChild;
    spine.firstChild->vertices = {2};
    spine.nextSibling->vertices = {4};
    WeightedVertex between;
    between.vertex = 3;
    between.influences.count = 2;
    between.influences.influences[0] = {2, 0.25f};
    between.influences.influences[1] = {1, 0.75f};
    WeightedVertex amongThree;
    amongThree.vertex = 5;
    amongThree.influences.count = 3;
    amongThree.influences.influences[0] = {3, 0.5f};
    amongThree.influences.influences[1] = {0, 0.25f};
    amongThree.influences.influences[2] = {1, 0.25f};
    model->weightedVertices = {between, amongThree};
    return model;
}

std::unique_ptr<AnimationData> makeSampleAnimation() {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>(AnimationHeader{0x12345679, 2.5f, 2});
    animation->tracks.resize(2);
    TrackData& hip = animation->tracks[0];
    hip.name = "hip";
    hip.channels[0] = {makeKey(0, 0, 0x03), makeKey(1, 2, 0x02), makeKey(3, 2, 0x02)};
    hip.channels[3] = {makeKey(0, 1, 0x04)};
    hip.channels[6] = {makeKey(0, 0, 0x05), makeKey(1, 1, 0x05), makeKey(1, 2, 0x05),
                       makeKey(1, 3, 0x04), makeKey(2, 4, 0x04)};
    for (int c = 0; c < ChannelCount; ++c) {
        if (hip.channels[c].empty()) hip.channels[c] = {makeKey(0, 0, 0x01)};
    }
    hip.channels[9].clear();
    TrackData& knee = animation->tracks[1];
    knee.name = "knee";
    for (int c = 0; c < ChannelCount; ++c) {
        knee.channels[c] = {makeKey(0, static_cast<float>(c), 0x01),
                            makeKey(2.5f, static_cast<float>(-c), 0x02)};
    }
    return animation;
}

}  // namespace vorel::test_support
