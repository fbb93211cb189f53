// In-memory models and animations for the skeleton and animation tests.
#include "tests/support/runtime_test_models.h"

#include <cmath>
#include <utility>

#include "math/hash_name.h"
#include "math/matrix4.h"
#include "math/pi.h"

namespace vorel::test_support {

namespace {

// Every bone's name under its hash, the later bone winning as in the loader.
void collectBoneNames(const BoneData& root, std::map<std::uint32_t, std::string>& names) {
    std::vector<const BoneData*> pending{&root};
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        names[bone->nameHash] = bone->name;
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
}

}  // namespace

std::unique_ptr<BoneData> makeBone(const std::string& name, const Vector3& head,
                                   const Vector3& tail, const Vector3& up,
                                   std::vector<std::int32_t> vertices) {
    auto bone = std::make_unique<BoneData>();
    bone->name = name;
    bone->nameHash = hashName(name);
    bone->head = head;
    bone->tail = tail;
    bone->up = up;
    bone->restMatrix.setPointFrame(head, tail, up);
    bone->returnMatrix = bone->restMatrix.transposedRotation();
    const Vector3 back = transformPoint(bone->returnMatrix, bone->restMatrix.column(3).negated());
    bone->returnMatrix.setColumn(3, back.x, back.y, back.z);
    bone->vertices = std::move(vertices);
    return bone;
}

std::unique_ptr<BoneData> makeAxisBone(const std::string& name,
                                       std::vector<std::int32_t> vertices) {
    return makeBone(name, Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, 0.0f, 1.0f),
                    Vector3(0.0f, 1.0f, 0.0f), std::move(vertices));
}

Face makeFace(std::array<std::int32_t, 4> positionIndices,
              std::array<std::int32_t, 4> normalIndices) {
    Face face;
    for (int k = 0; k < 4; ++k) {
        face.positionIndices[k] = positionIndices[static_cast<std::size_t>(k)];
        face.normalIndices[k] = normalIndices[static_cast<std::size_t>(k)];
    }
    return face;
}

std::unique_ptr<ModelData> makeModel(std::vector<Vector3> positions, std::vector<Vector3> normals,
                                     std::vector<Face> faces, std::unique_ptr<BoneData> root) {
    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>();
    model->header->version = 2;
    model->materials.resize(1);
    model->positions = std::move(positions);
    model->normals = std::move(normals);
    model->faces = std::move(faces);
    model->normalLists.resize(model->positions.size());
    for (const Face& face : model->faces) {
        for (int k = 0; k < 4; ++k) {
            model->normalLists[static_cast<std::size_t>(face.positionIndices[k])].push_back(
                face.normalIndices[k]);
        }
    }
    if (root) collectBoneNames(*root, model->boneNames);
    model->rootBone = std::move(root);
    return model;
}

Keyframe makeKey(float time, float value, SegmentMode mode) {
    Keyframe key;
    key.time = time;
    key.value = value;
    key.flags = keyFlags(mode, false);
    return key;
}

Keyframe makeCurveKey(float time, float value, float outTime, float outValue, float inTime,
                      float inValue) {
    Keyframe key = makeKey(time, value, SegmentMode::Curve);
    key.flags = keyFlags(SegmentMode::Curve, true);
    key.outTangent = Tangent{-outTime, -outValue};
    key.inTangent = Tangent{-inTime, -inValue};
    return key;
}

TrackData makePoseTrack(const std::string& boneName, const Vector3& translation,
                        const Vector3& scale, const Quaternion& rotation) {
    TrackData track;
    track.name = boneName;
    track.nameHash = hashName(boneName);
    const float values[ChannelCount] = {translation.x, translation.y, translation.z, scale.x,
                                        scale.y,       scale.z,       rotation.x,    rotation.y,
                                        rotation.z,    rotation.w};
    for (int c = 0; c < ChannelCount; ++c) {
        track.channels[static_cast<std::size_t>(c)].push_back(makeKey(0.0f, values[c]));
    }
    return track;
}

std::unique_ptr<AnimationData> makeAnimation(float duration, std::vector<TrackData> tracks) {
    auto animation = std::make_unique<AnimationData>();
    animation->header = std::make_unique<AnimationHeader>();
    animation->header->magic = AnimationMagic;
    animation->header->duration = duration;
    animation->header->trackCount = static_cast<std::uint16_t>(tracks.size());
    animation->tracks = std::move(tracks);
    return animation;
}

Quaternion rotationAbout(const Vector3& axis, float angleDegrees) {
    const double half = angleDegrees * Pi / 360.0;
    const auto sine = static_cast<float>(std::sin(half));
    Quaternion q;
    q.set(axis.x * sine, axis.y * sine, axis.z * sine, static_cast<float>(std::cos(half)));
    return q;
}

}  // namespace vorel::test_support
