// vorel-inspect FILE...: a readable summary of each manifest, model, animation or BVH file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "bvh/read_bvh.h"
#include "fbx/read_fbx_scene.h"
#include "skeleton/bone_walk.h"
#include "tools/common/print_line.h"
#include "tools/inspect/asset_warnings.h"
#include "tools/inspect/file_kind.h"
#include "tools/inspect/inspect_arguments.h"
#include "tools/inspect/inspect_commands.h"
#include "tools/inspect/inspect_output.h"
#include "tools/inspect/manifest_in_folder.h"
#include "tools/inspect/vector_digest.h"

namespace vorel {

namespace {

std::size_t countLayers(const ModelData& model) {
    std::size_t layers = 0;
    for (const Face& face : model.faces) layers += face.layers.size();
    return layers;
}

void printBoneTree(const ModelData& model) {
    std::vector<PendingBone<const BoneData, int>> pending;
    walkBones(rootOf(model), 0, pending, [](const BoneData& bone, int depth) {
        printLine(stdout, "    %*s%s  hash %u  head %s  tail %s  vertices %zu", 2 * depth, "",
                  bone.name.c_str(), bone.nameHash, formatPoint(bone.head).c_str(),
                  formatPoint(bone.tail).c_str(), bone.vertices.size());
        return depth + 1;
    });
}

std::size_t countBones(const ModelData& model) {
    std::size_t bones = 0;
    PendingBones<const BoneData> pending;
    walkBones(rootOf(model), pending, [&bones](const BoneData&) { ++bones; });
    return bones;
}

// How many vertices blend several bones, and the most bones one of them follows; only for
// version 3, so version-2 summaries read as they always have.
void printInfluences(const ModelData& model) {
    if (!model.header || model.header->version != WeightedModelVersion) return;
    std::size_t blended = 0;
    std::int32_t most = model.positions.empty() ? 0 : 1;
    for (const WeightedVertex& weighted : model.weightedVertices) {
        std::int32_t nonzero = 0;
        for (int k = 0; k < weighted.influences.count; ++k) {
            if (weighted.influences.influences[k].weight > 0.0f) ++nonzero;
        }
        if (nonzero > 1) ++blended;
        most = std::max(most, nonzero);
    }
    printLine(stdout, "  blended vertices %zu  largest influence count %d", blended, most);
}

void printModel(const std::string& path, const ModelData& model) {
    const VectorDigest bind = digestVectors(model.positions);
    printLine(stdout, "%s: model, version %d", path.c_str(),
              model.header ? model.header->version : 0);
    printLine(stdout,
              "  materials %zu  named records %zu  positions %zu  normals %zu  faces %zu  "
              "layers %zu",
              model.materials.size(), model.namedRecords.size(), model.positions.size(),
              model.normals.size(), model.faces.size(), countLayers(model));
    printLine(stdout, "  bind positions: min %s  max %s", formatPoint(bind.min).c_str(),
              formatPoint(bind.max).c_str());
    printInfluences(model);
    printLine(stdout, "  bones %zu:", countBones(model));
    printBoneTree(model);
}

// Where a channel's last key lies against the animation's duration.
const char* endAgainstDuration(float lastTime, float duration) {
    if (lastTime < duration) return "ends before the duration";
    if (lastTime > duration) return "runs past the duration";
    return "ends at the duration";
}

struct SegmentCounts {
    std::size_t constant = 0;
    std::size_t linear = 0;
    std::size_t cubic = 0;
};

// Segment i runs from key i to key i + 1; its mode sits in key i's flags.
SegmentCounts countSegments(const std::vector<Keyframe>& keys) {
    SegmentCounts counts;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        const SegmentMode mode = segmentMode(keys[i]);
        if (mode == SegmentMode::Constant) {
            ++counts.constant;
        } else if (mode == SegmentMode::Linear) {
            ++counts.linear;
        } else {
            ++counts.cubic;
        }
    }
    return counts;
}

void addSegments(SegmentCounts& total, const SegmentCounts& more) {
    total.constant += more.constant;
    total.linear += more.linear;
    total.cubic += more.cubic;
}

void printChannel(int channel, const std::vector<Keyframe>& keys, float duration) {
    if (keys.empty()) {
        printLine(stdout, "      %s  no keys", channelName(channel));
        return;
    }
    const SegmentCounts segments = countSegments(keys);
    printLine(stdout,
              "      %s  keys %zu  times %s .. %s (%s)  constant %zu  linear %zu  cubic %zu",
              channelName(channel), keys.size(), formatFloat(keys.front().time).c_str(),
              formatFloat(keys.back().time).c_str(), endAgainstDuration(keys.back().time, duration),
              segments.constant, segments.linear, segments.cubic);
}

void printAnimation(const std::string& path, const AnimationData& animation) {
    const float duration = animation.header ? animation.header->duration : 0.0f;
    SegmentCounts total;
    for (const TrackData& track : animation.tracks) {
        for (const std::vector<Keyframe>& keys : track.channels) {
            addSegments(total, countSegments(keys));
        }
    }
    printLine(stdout, "%s: animation, duration %s, tracks %zu", path.c_str(),
              formatFloat(duration).c_str(), animation.tracks.size());
    printLine(stdout, "  segments: constant %zu  linear %zu  cubic %zu", total.constant,
              total.linear, total.cubic);
    for (const TrackData& track : animation.tracks) {
        printLine(stdout, "    track %s  hash %u", track.name.c_str(), track.nameHash);
        for (int c = 0; c < ChannelCount; ++c) printChannel(c, track.channels[c], duration);
    }
}

const char* const BvhChannelNames[] = {"Xposition", "Yposition", "Zposition",
                                       "Xrotation", "Yrotation", "Zrotation"};

// The joints indented by depth, each with its offset and channels; End Sites by their name.
void printJointTree(const BvhMotion& motion) {
    std::vector<int> depth(motion.joints.size(), 0);
    for (std::size_t j = 0; j < motion.joints.size(); ++j) {
        const BvhJoint& joint = motion.joints[j];
        if (joint.parent >= 0) depth[j] = depth[static_cast<std::size_t>(joint.parent)] + 1;
        std::string channels;
        for (BvhChannel channel : joint.channels) {
            channels += std::string(" ") + BvhChannelNames[static_cast<int>(channel)];
        }
        printLine(stdout, "    %*s%s%s  offset %s  channels %zu%s", 2 * depth[j], "",
                  joint.name.c_str(), joint.endSite ? " (End Site)" : "",
                  formatPoint(joint.offset).c_str(), joint.channels.size(), channels.c_str());
    }
}

void printBvh(const std::string& path, const BvhMotion& motion) {
    std::size_t endSites = 0;
    std::size_t roots = 0;
    for (const BvhJoint& joint : motion.joints) {
        endSites += joint.endSite ? 1 : 0;
        roots += joint.parent < 0 ? 1 : 0;
    }
    printLine(stdout, "%s: BVH capture, joints %zu (and %zu End Sites), roots %zu, channels %d",
              path.c_str(), motion.joints.size() - endSites, endSites, roots,
              motion.valuesPerFrame);
    printLine(stdout, "  frames %d  frame time %.9g s (%.6g per second)  length %.6g s",
              motion.frameCount, motion.frameTime, 1.0 / motion.frameTime,
              motion.frameCount * motion.frameTime);
    printLine(stdout, "  joints:");
    printJointTree(motion);
}

void printFbx(const std::string& path, const FbxDocument& document, const FbxScene& scene) {
    std::size_t joints = 0;
    for (const FbxModel& model : scene.models)
        joints += model.type == "LimbNode" || model.type == "Root" ? 1 : 0;
    printLine(stdout,
              "%s: FBX file, %s, version %d, models %zu (skeleton joints %zu), meshes %zu, "
              "skin clusters %zu, animation stacks %zu",
              path.c_str(), document.binary ? "binary" : "ASCII", document.version,
              scene.models.size(), joints, scene.geometries.size(), scene.clusters.size(),
              scene.stacks.size());
    for (const FbxStack& stack : scene.stacks) {
        printLine(stdout, "  stack '%s'  from %.6g s to %.6g s", stack.name.c_str(),
                  static_cast<double>(stack.localStart) / FbxTicksPerSecond,
                  static_cast<double>(stack.localStop) / FbxTicksPerSecond);
    }
    for (const std::string& skipped : scene.skipped) printLine(stdout, "  %s", skipped.c_str());
}

// The load error of an entry, if the manifest report lists one for it.
const LoadError* findFailure(const ManifestReport& report, std::size_t& nextFailure) {
    if (nextFailure >= report.failedFiles.size()) return nullptr;
    return &report.failedFiles[nextFailure++];
}

// One line per entry: its name, its path as seen from the caller, and whether it loads.
template <typename Entry>
void printEntries(const char* kind, const std::vector<std::unique_ptr<Entry>>& entries,
                  const std::vector<std::string>& names, const std::vector<std::string>& paths,
                  const ManifestReport& report, std::size_t& nextFailure) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] != nullptr) {
            printLine(stdout, "  %s '%s'  path '%s'  loads", kind, names[i].c_str(),
                      paths[i].c_str());
            continue;
        }
        const LoadError* failure = findFailure(report, nextFailure);
        printLine(stdout, "  %s '%s'  path '%s'  fails: %s", kind, names[i].c_str(),
                  paths[i].c_str(), failure ? failure->describe().c_str() : "no reason given");
    }
}

void printUnmatchedTracks(const AssetLibrary& library) {
    if (library.models.empty() || library.models[0] == nullptr) return;
    printLine(stdout, "  tracks that name no bone of model '%s':", library.modelNames[0].c_str());
    std::size_t unmatchedTotal = 0;
    for (std::size_t i = 0; i < library.animations.size(); ++i) {
        if (library.animations[i] == nullptr) continue;
        const std::vector<const TrackData*> unmatched =
            tracksNamingNoBone(*library.models[0], *library.animations[i]);
        if (unmatched.empty()) continue;
        std::string names;
        for (const TrackData* track : unmatched) names += " '" + track->name + "'";
        printLine(stdout, "    '%s':%s", library.animationNames[i].c_str(), names.c_str());
        unmatchedTotal += unmatched.size();
    }
    if (unmatchedTotal == 0) printLine(stdout, "    none");
}

void printManifest(const std::string& path, const AssetLibrary& library,
                   const ManifestReport& report) {
    printLine(stdout, "%s: manifest, models %zu, animations %zu", path.c_str(),
              library.models.size(), library.animations.size());
    std::size_t nextFailure = 0;
    printEntries("model", library.models, library.modelNames, report.modelPaths, report,
                 nextFailure);
    printEntries("animation", library.animations, library.animationNames, report.animationPaths,
                 report, nextFailure);
    if (report.readStopped) {
        printLine(stdout, "  reading stopped: %s", report.stoppedEarly.describe().c_str());
    }
    printUnmatchedTracks(library);
}

// Prints the summary of one file; false, with error set, when it cannot be loaded.
bool summariseFile(const std::string& path, LoadError& error) {
    switch (recogniseFile(path, error)) {
        case FileKind::Model: {
            const std::unique_ptr<ModelData> model = loadModel(path, &error);
            if (model != nullptr) printModel(path, *model);
            return model != nullptr;
        }
        case FileKind::Animation: {
            const std::unique_ptr<AnimationData> animation = loadAnimation(path, &error);
            if (animation != nullptr) printAnimation(path, *animation);
            return animation != nullptr;
        }
        case FileKind::Manifest: {
            ManifestReport report;
            const std::unique_ptr<AssetLibrary> library = loadManifestInItsFolder(path, report);
            if (library != nullptr) printManifest(path, *library, report);
            error = report.stoppedEarly;
            return library != nullptr;
        }
        case FileKind::Bvh: {
            BvhMotion motion;
            const bool read =
                readBvhFile(path, motion, error) && checkBvhHasFrames(motion, path, error);
            if (read) printBvh(path, motion);
            return read;
        }
        case FileKind::Fbx: {
            FbxDocument document;
            FbxScene scene;
            const bool read = readFbxSceneFile(path, document, scene, error);
            if (read) printFbx(path, document, scene);
            return read;
        }
        case FileKind::Unknown:
            break;
    }
    return false;
}

}  // namespace

int runSummary(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = splitCommandLine(arguments, {{}, {}, 1, "no file given"});
    if (const std::optional<int> status = finishEarly(commandLine)) return *status;

    int status = ExitSuccess;
    for (std::size_t i = 0; i < commandLine.operands.size(); ++i) {
        if (i > 0) std::fputs("\n", stdout);
        std::fflush(stdout);
        LoadError error;
        if (!summariseFile(commandLine.operands[i], error)) {
            printLine(stderr, "%s", error.describe().c_str());
            status = ExitBadInput;
        }
    }
    return status;
}

}  // namespace vorel
