// Findings of legal but suspicious content in loaded models, animations and manifests.
#include "tools/inspect/asset_warnings.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>

#include "assets/dance_names.h"
#include "skeleton/bone_walk.h"
#include "tools/inspect/inspect_output.h"

namespace vorel {

namespace {

// How far from 1 a normal's length may be before lighting visibly changes.
constexpr double NormalLengthTolerance = 1e-3;
// Relative size of the cross product below which the up point counts as on the bone's line.
constexpr double CollinearTolerance = 1e-6;

double length(const Vector3& v) {
    return std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
}

Vector3 difference(const Vector3& a, const Vector3& b) {
    return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

std::string quoted(const std::string& name) {
    return "'" + name + "'";
}

// Adds "N vertices are under WHAT (first: I)" when any vertex's bone count passes the test.
template <typename Test>
void warnVertexCounts(const std::vector<int>& bonesPerVertex, Test test, const char* what,
                      std::vector<std::string>& warnings) {
    std::size_t count = 0;
    std::size_t first = 0;
    for (std::size_t i = bonesPerVertex.size(); i-- > 0;) {
        if (test(bonesPerVertex[i])) {
            ++count;
            first = i;
        }
    }
    if (count == 0) return;
    warnings.push_back(std::to_string(count) + (count == 1 ? " vertex is" : " vertices are") +
                       " under " + what + " (first: " + std::to_string(first) + ")");
}

void warnVertexOwnership(const ModelData& model, std::vector<std::string>& warnings) {
    std::vector<int> bonesPerVertex(model.positions.size(), 0);
    // The last bone counted for each vertex, so that a bone listing a vertex twice counts once.
    std::vector<const BoneData*> lastBone(model.positions.size(), nullptr);
    PendingBones<const BoneData> pending;
    walkBones(rootOf(model), pending, [&](const BoneData& bone) {
        for (std::int32_t index : bone.vertices) {
            const auto i = static_cast<std::size_t>(index);
            if (index < 0 || i >= bonesPerVertex.size() || lastBone[i] == &bone) continue;
            lastBone[i] = &bone;
            ++bonesPerVertex[i];
        }
    });
    // A weighted vertex is moved by its influences (the loader has checked them).
    for (const WeightedVertex& weighted : model.weightedVertices) {
        const auto i = static_cast<std::size_t>(weighted.vertex);
        if (i < bonesPerVertex.size()) ++bonesPerVertex[i];
    }
    warnVertexCounts(
        bonesPerVertex, [](int bones) { return bones == 0; }, "no bone (they never move)",
        warnings);
    warnVertexCounts(
        bonesPerVertex, [](int bones) { return bones > 1; },
        "two or more bones (the last one wins)", warnings);
}

void warnNormalLengths(const ModelData& model, std::vector<std::string>& warnings) {
    std::size_t count = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < model.normals.size(); ++i) {
        const double away = std::fabs(length(model.normals[i]) - 1.0);
        if (!(away <= NormalLengthTolerance)) {
            if (count++ == 0) first = i;
        }
    }
    if (count == 0) return;
    warnings.push_back(std::to_string(count) + " normal" + (count == 1 ? " is" : "s are") +
                       " far from unit length (first: " + std::to_string(first) + ", length " +
                       formatFloat(length(model.normals[first])) + ")");
}

void warnDegenerateBones(const ModelData& model, std::vector<std::string>& warnings) {
    PendingBones<const BoneData> pending;
    walkBones(rootOf(model), pending, [&](const BoneData& bone) {
        const Vector3 direction = difference(bone.tail, bone.head);
        const Vector3 up = difference(bone.up, bone.head);
        if (direction == Vector3::Zero) {
            warnings.push_back("bone " + quoted(bone.name) +
                               ": head and tail coincide, so it has no direction");
        } else if (length(Vector3::cross(direction, up)) <=
                   CollinearTolerance * length(direction) * length(up)) {
            warnings.push_back("bone " + quoted(bone.name) +
                               ": up point lies on the line through head and tail, so its "
                               "twist is undefined");
        }
    });
}

std::string channelList(const TrackData& track, bool (*test)(const std::vector<Keyframe>&)) {
    std::string list;
    for (int c = 0; c < ChannelCount; ++c) {
        if (!test(track.channels[c])) continue;
        list += (list.empty() ? "" : ", ") + std::string(channelName(c));
    }
    return list;
}

bool isEmpty(const std::vector<Keyframe>& keys) {
    return keys.empty();
}

bool isOutOfOrder(const std::vector<Keyframe>& keys) {
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (keys[i].time < keys[i - 1].time) return true;
    }
    return false;
}

void warnRepeatedNames(const std::vector<std::string>& names, const char* what,
                       std::vector<std::string>& warnings) {
    std::map<std::string, std::size_t> firstPosition;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto [entry, inserted] = firstPosition.emplace(names[i], i);
        if (inserted) continue;
        warnings.push_back(std::string(what) + " name " + quoted(names[i]) +
                           " is repeated (entries " + std::to_string(entry->second + 1) + " and " +
                           std::to_string(i + 1) + "); only the first is ever used");
    }
}

void warnMissingDances(const AssetLibrary& library, std::vector<std::string>& warnings) {
    const std::vector<std::string>& names = library.animationNames;
    for (std::size_t i = 0; i < DanceNames.size(); ++i) {
        if (std::find(names.begin(), names.end(), DanceNames[i]) != names.end()) continue;
        warnings.push_back("no animation is named " + quoted(DanceNames[i]) + ", so key " +
                           std::to_string(i + 1) + " does nothing");
    }
}

void warnUnmatchedTracks(const AssetLibrary& library, std::vector<std::string>& warnings) {
    if (library.models.empty() || library.models[0] == nullptr) return;
    const ModelData& model = *library.models[0];
    for (std::size_t i = 0; i < library.animations.size(); ++i) {
        if (library.animations[i] == nullptr) continue;
        for (const TrackData* track : tracksNamingNoBone(model, *library.animations[i])) {
            warnings.push_back("animation " + quoted(library.animationNames[i]) + ": track " +
                               quoted(track->name) + " names no bone of model " +
                               quoted(library.modelNames[0]));
        }
    }
}

}  // namespace

std::vector<std::string> modelWarnings(const ModelData& model) {
    std::vector<std::string> warnings;
    warnVertexOwnership(model, warnings);
    warnNormalLengths(model, warnings);
    warnDegenerateBones(model, warnings);
    return warnings;
}

std::vector<std::string> animationWarnings(const AnimationData& animation) {
    std::vector<std::string> warnings;
    const float duration = animation.header ? animation.header->duration : 0.0f;
    if (!(duration > 0.0f)) {
        warnings.push_back("duration " + formatFloat(duration) +
                           " is not positive, so the animation ends at once");
    }
    for (const TrackData& track : animation.tracks) {
        const std::string outOfOrder = channelList(track, isOutOfOrder);
        if (!outOfOrder.empty()) {
            warnings.push_back("track " + quoted(track.name) + ": keys out of time order in " +
                               outOfOrder);
        }
        const std::string empty = channelList(track, isEmpty);
        if (!empty.empty()) {
            warnings.push_back("track " + quoted(track.name) + ": no keys in " + empty);
        }
    }
    return warnings;
}

std::vector<std::string> libraryWarnings(const AssetLibrary& library) {
    std::vector<std::string> warnings;
    warnRepeatedNames(library.modelNames, "model", warnings);
    warnRepeatedNames(library.animationNames, "animation", warnings);
    warnMissingDances(library, warnings);
    warnUnmatchedTracks(library, warnings);
    return warnings;
}

std::vector<const TrackData*> tracksNamingNoBone(const ModelData& model,
                                                 const AnimationData& animation) {
    std::vector<const TrackData*> unmatched;
    for (const TrackData& track : animation.tracks) {
        if (model.findBoneByHash(track.nameHash) == nullptr) unmatched.push_back(&track);
    }
    return unmatched;
}

}  // namespace vorel
