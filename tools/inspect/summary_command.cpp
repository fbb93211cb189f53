// vorel-inspect FILE...: a readable summary of each manifest, model, animation or BVH file.
#include <cstdio>
#include <string>
#include <vector>

#include "assets/load_animation.h"
#include "assets/load_model.h"
#include "bvh/read_bvh.h"
#include "skeleton/bone_walk.h"
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
        std::printf("    %*s%s  hash %u  head %s  tail %s  vertices %zu\n", 2 * depth, "",
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

void printModel(const std::string& path, const ModelData& model) {
    const VectorDigest bind = digestVectors(model.positions);
    std::printf("%s: model, version %d\n", path.c_str(), model.header ? model.header->version : 0);
    std::printf(
        "  materials %zu  named records %zu  positions %zu  normals %zu  faces %zu  "
        "layers %zu\n",
        model.materials.size(), model.namedRecords.size(), model.positions.size(),
        model.normals.size(), model.faces.size(), countLayers(model));
    std::printf("  bind positions: min %s  max %s\n", formatPoint(bind.min).c_str(),
                formatPoint(bind.max).c_str());
    std::printf("  bones %zu:\n", countBones(model));
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
        std::printf("      %s  no keys\n", channelName(channel));
        return;
    }
    const SegmentCounts segments = countSegments(keys);
    std::printf("      %s  keys %zu  times %s .. %s (%s)  constant %zu  linear %zu  cubic %zu\n",
                channelName(channel), keys.size(), formatFloat(keys.front().time).c_str(),
                formatFloat(keys.back().time).c_str(),
                endAgainstDuration(keys.back().time, duration), segments.constant, segments.linear,
                segments.cubic);
}

void printAnimation(const std::string& path, const AnimationData& animation) {
    const float duration = animation.header ? animation.header->duration : 0.0f;
    SegmentCounts total;
    for (const TrackData& track : animation.tracks) {
        for (const std::vector<Keyframe>& keys : track.channels) {
            addSegments(total, countSegments(keys));
        }
    }
    std::printf("%s: animation, duration %s, tracks %zu\n", path.c_str(),
                formatFloat(duration).c_str(), animation.tracks.size());
    std::printf("  segments: constant %zu  linear %zu  cubic %zu\n", total.constant, total.linear,
                total.cubic);
    for (const TrackData& track : animation.tracks) {
        std::printf("    track %s  hash %u\n", track.name.c_str(), track.nameHash);
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
        std::printf("    %*s%s%s  offset %s  channels %zu%s\n", 2 * depth[j], "",
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
    std::printf("%s: BVH capture, joints %zu (and %zu End Sites), roots %zu, channels %d\n",
                path.c_str(), motion.joints.size() - endSites, endSites, roots,
                motion.valuesPerFrame);
    std::printf("  frames %d  frame time %.9g s (%.6g per second)  length %.6g s\n",
                motion.frameCount, motion.frameTime, 1.0 / motion.frameTime,
                motion.frameCount * motion.frameTime);
    std::printf("  joints:\n");
    printJointTree(motion);
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
        std::printf("  %s '%s'  path '%s'  ", kind, names[i].c_str(), paths[i].c_str());
        if (entries[i] != nullptr) {
            std::printf("loads\n");
            continue;
        }
        const LoadError* failure = findFailure(report, nextFailure);
        std::printf("fails: %s\n", failure ? failure->describe().c_str() : "no reason given");
    }
}

void printUnmatchedTracks(const AssetLibrary& library) {
    if (library.models.empty() || library.models[0] == nullptr) return;
    std::printf("  tracks that name no bone of model '%s':\n", library.modelNames[0].c_str());
    std::size_t unmatchedTotal = 0;
    for (std::size_t i = 0; i < library.animations.size(); ++i) {
        if (library.animations[i] == nullptr) continue;
        const std::vector<const TrackData*> unmatched =
            tracksNamingNoBone(*library.models[0], *library.animations[i]);
        if (unmatched.empty()) continue;
        std::string names;
        for (const TrackData* track : unmatched) names += " '" + track->name + "'";
        std::printf("    '%s':%s\n", library.animationNames[i].c_str(), names.c_str());
        unmatchedTotal += unmatched.size();
    }
    if (unmatchedTotal == 0) std::printf("    none\n");
}

void printManifest(const std::string& path, const AssetLibrary& library,
                   const ManifestReport& report) {
    std::printf("%s: manifest, models %zu, animations %zu\n", path.c_str(), library.models.size(),
                library.animations.size());
    std::size_t nextFailure = 0;
    printEntries("model", library.models, library.modelNames, report.modelPaths, report,
                 nextFailure);
    printEntries("animation", library.animations, library.animationNames, report.animationPaths,
                 report, nextFailure);
    if (report.readStopped) {
        std::printf("  reading stopped: %s\n", report.stoppedEarly.describe().c_str());
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
        if (i > 0) std::printf("\n");
        std::fflush(stdout);
        LoadError error;
        if (!summariseFile(commandLine.operands[i], error)) {
            std::fprintf(stderr, "%s\n", error.describe().c_str());
            status = ExitBadInput;
        }
    }
    return status;
}

}  // namespace vorel
