// The model's positions, normals, texture coordinates and bone frames, and the animation's
// duration and keys (with their tangents), searched in file order.
#include "assets/finite_values.h"

#include <cmath>
#include <vector>

namespace vorel {

namespace {

bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isFinite(const Matrix4& m) {
    for (const Vector4& column : m.columns) {
        if (!std::isfinite(column.x) || !std::isfinite(column.y) || !std::isfinite(column.z) ||
            !std::isfinite(column.w)) {
            return false;
        }
    }
    return true;
}

bool isFinite(const Keyframe& key) {
    return std::isfinite(key.time) && std::isfinite(key.value) &&
           std::isfinite(key.outTangent.time) && std::isfinite(key.outTangent.value) &&
           std::isfinite(key.inTangent.time) && std::isfinite(key.inTangent.value);
}

std::string firstNonFinite(const std::vector<Vector3>& points, const char* what) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!isFinite(points[i])) return what + (" " + std::to_string(i));
    }
    return {};
}

std::string nonFiniteTexCoords(const std::vector<Face>& faces) {
    for (std::size_t f = 0; f < faces.size(); ++f) {
        for (const FaceLayer& layer : faces[f].layers) {
            for (float value : layer.texCoords) {
                if (!std::isfinite(value))
                    return "face " + std::to_string(f) + " texture coordinates";
            }
        }
    }
    return {};
}

std::string nonFiniteBone(const BoneData& bone) {
    if (!isFinite(bone.head) || !isFinite(bone.tail) || !isFinite(bone.up)) {
        return "bone '" + bone.name + "' points";
    }
    if (!isFinite(bone.restMatrix) || !isFinite(bone.returnMatrix)) {
        return "bone '" + bone.name + "' rest matrix";
    }
    return {};
}

std::string nonFiniteBones(const BoneData* root) {
    std::vector<const BoneData*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const BoneData* bone = pending.back();
        pending.pop_back();
        std::string problem = nonFiniteBone(*bone);
        if (!problem.empty()) return problem;
        if (bone->nextSibling) pending.push_back(bone->nextSibling.get());
        if (bone->firstChild) pending.push_back(bone->firstChild.get());
    }
    return {};
}

}  // namespace

std::string nonFiniteValue(const ModelData& model) {
    for (std::string problem :
         {firstNonFinite(model.positions, "position"), firstNonFinite(model.normals, "normal"),
          nonFiniteTexCoords(model.faces), nonFiniteBones(model.rootBone.get())}) {
        if (!problem.empty()) return problem;
    }
    return {};
}

std::string nonFiniteValue(const AnimationData& animation) {
    if (animation.header && !std::isfinite(animation.header->duration)) return "duration";
    for (const TrackData& track : animation.tracks) {
        for (std::size_t c = 0; c < track.channels.size(); ++c) {
            const std::vector<Keyframe>& keys = track.channels[c];
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (!isFinite(keys[k])) {
                    return "track '" + track.name + "' channel " + std::to_string(c) + " key " +
                           std::to_string(k);
                }
            }
        }
    }
    return {};
}

}  // namespace vorel
